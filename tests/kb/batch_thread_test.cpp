#include "kb/batch_thread.h"

#include <gtest/gtest.h>

#include <new>
#include <vector>

namespace xamo {
namespace {

// Batches are done in the order given, and a failure on the thread reaches the one handing
// batches over (a reader out of memory must say so, not end the program); later batches are
// not done.
TEST(BatchThread, DoesBatchesInOrderAndPassesAFailureBack) {
    std::vector<int> done;
    {
        BatchThread<std::vector<int>> thread([&done](std::vector<int>& b) {
            done.push_back(b[0]);
            b.clear();
        });
        for (int i = 0; i < 100; ++i) {
            std::vector<int> batch{i};
            thread.hand_over(batch);
            EXPECT_TRUE(batch.empty());
        }
        thread.finish();
    }
    ASSERT_EQ(done.size(), 100u);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(done[i], i);

    done.clear();
    BatchThread<std::vector<int>> failing([&done](std::vector<int>& b) {
        if (b[0] == 3) throw std::bad_alloc();
        done.push_back(b[0]);
        b.clear();
    });
    const auto hand_all = [&failing] {
        for (int i = 0; i < 100; ++i) {
            std::vector<int> batch{i};
            failing.hand_over(batch);
        }
    };
    EXPECT_THROW(hand_all(), std::bad_alloc);
    EXPECT_THROW(failing.finish(), std::bad_alloc);
    EXPECT_EQ(done, (std::vector<int>{0, 1, 2}));
}

}  // namespace
}  // namespace xamo
