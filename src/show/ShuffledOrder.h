#pragma once
// The order of a shuffled show (--shuffle): positions 1 to count, one round
// after another, each round every position once in a fresh random order. A
// round never begins with the position the round before ended on (with two
// entries or more), so no entry is shown twice in a row across rounds. The
// first round may begin at a position given (where a resumed show starts),
// the rest of it following in random order. What an entry that loops forever
// does is the show loop's rule, not the order's. GUI thread.

#include <random>
#include <vector>

namespace show {

class ShuffledOrder {
public:
    // count >= 1; first 0 (a random round) or 1 to count. Random from std::random_device.
    ShuffledOrder(int count, int first);

    int Current() const { return round_[at_]; }
    // The position after the current one; asking again gives the same until Take.
    int Next();
    // Moves on to Next().
    void Take();

private:
    std::vector<int> NewRound(int after);

    std::mt19937 random_;
    std::vector<int> round_;
    size_t at_ = 0;
    std::vector<int> nextRound_;  // made when first asked for, so Next and Take agree
};

}  // namespace show
