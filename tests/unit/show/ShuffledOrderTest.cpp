// The shuffled order over many rounds, with a fresh random seed each run:
// every position once a round, the first round from the position given,
// never the same position twice in a row, and Next always what Take gives.

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>
#include <vector>

#include "show/ShuffledOrder.h"

TEST(ShuffledOrder, EachRoundEveryEntryOnceNeverTwiceInARow) {
    for (const auto& [count, first] : {std::pair{1, 1}, {2, 0}, {2, 2}, {3, 2}, {5, 5}, {8, 0}}) {
        show::ShuffledOrder order(count, first);
        if (first > 0) {
            ASSERT_EQ(order.Current(), first) << count;
        }
        std::vector<int> all(static_cast<size_t>(count));
        std::iota(all.begin(), all.end(), 1);
        int previous = 0;
        std::set<std::vector<int>> orders;
        for (int round = 0; round < 300; ++round) {
            std::vector<int> played;
            for (int i = 0; i < count; ++i) {
                if (i > 0 || round > 0) {
                    const int next = order.Next();
                    EXPECT_EQ(order.Next(), next);
                    order.Take();
                    EXPECT_EQ(order.Current(), next);
                }
                if (count > 1) {
                    EXPECT_NE(order.Current(), previous) << count << " round " << round;
                }
                previous = order.Current();
                played.push_back(previous);
            }
            orders.insert(played);
            std::sort(played.begin(), played.end());
            EXPECT_EQ(played, all) << count << " round " << round;
        }
        if (count > 2) {
            EXPECT_GT(orders.size(), 1u) << count;  // random, not one order over and over
        }
    }
}
