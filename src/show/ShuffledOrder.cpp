#include "show/ShuffledOrder.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace show {

ShuffledOrder::ShuffledOrder(int count, int first)
    : random_(std::random_device{}()), round_(static_cast<size_t>(count)) {
    std::iota(round_.begin(), round_.end(), 1);
    if (first > 0) std::swap(round_[0], round_[static_cast<size_t>(first - 1)]);
    std::shuffle(round_.begin() + (first > 0 ? 1 : 0), round_.end(), random_);
}

std::vector<int> ShuffledOrder::NewRound(int after) {
    std::vector<int> round(round_.size());
    std::iota(round.begin(), round.end(), 1);
    std::shuffle(round.begin(), round.end(), random_);
    if (round.size() > 1 && round[0] == after) {  // swapped with any other place, so the rest stays uniform
        std::uniform_int_distribution<size_t> other(1, round.size() - 1);
        std::swap(round[0], round[other(random_)]);
    }
    return round;
}

int ShuffledOrder::Next() {
    if (at_ + 1 < round_.size()) return round_[at_ + 1];
    if (nextRound_.empty()) nextRound_ = NewRound(round_.back());
    return nextRound_[0];
}

void ShuffledOrder::Take() {
    Next();
    if (++at_ < round_.size()) return;
    round_ = std::exchange(nextRound_, {});
    at_ = 0;
}

}  // namespace show
