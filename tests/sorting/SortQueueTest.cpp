#include "sorting/SortSession.h"

#include "support/Wait.h"

#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <tuple>
#include <vector>

namespace {

// A task that copies total bytes in steps of step through progress.
SortQueue::Task copying(qint64 id, qint64 total, qint64 step, std::error_code result = {})
{
    return {id, [total, step, result](const FileOperations::Progress &progress) {
        for (qint64 copied = 0; copied <= total; copied += step)
            progress(copied, total);
        return SortQueue::Result {result};
    }};
}

TEST(SortQueue, RunsTasksOneAtATimeInTheirOrderOffTheCallingThread)
{
    SortQueue queue;
    std::vector<qint64> ran;
    std::atomic<int> running {0};
    std::atomic<int> mostAtOnce {0};
    std::atomic<bool> onCallingThread {false};
    QThread *const caller = QThread::currentThread();
    for (qint64 id = 1; id <= 4; ++id) {
        queue.add({id, [&, id](const FileOperations::Progress &) {
            mostAtOnce = std::max(mostAtOnce.load(), ++running);
            onCallingThread = onCallingThread || QThread::currentThread() == caller;
            QThread::msleep(5);
            ran.push_back(id);
            --running;
            // The code comes back as the task gave it.
            return SortQueue::Result {
                id == 3 ? std::make_error_code(std::errc::no_space_on_device) : std::error_code(), int(id) * 10};
        }});
    }
    EXPECT_EQ(queue.pending(), 4);
    EXPECT_EQ(queue.oldest(), 1);
    EXPECT_EQ(queue.newest(), 4);

    std::vector<std::tuple<qint64, std::error_code, int>> finished;
    int drained = 0;
    QObject::connect(&queue, &SortQueue::finished, [&](qint64 id, const SortQueue::Result &result) {
        finished.emplace_back(id, result.error, result.code);
        // Pending until its finished signal has been raised.
        EXPECT_FALSE(queue.isPending(id));
    });
    QObject::connect(&queue, &SortQueue::drained, [&] { ++drained; });
    ASSERT_TRUE(waitUntil([&] { return drained > 0; }));

    EXPECT_EQ(ran, (std::vector<qint64> {1, 2, 3, 4}));
    EXPECT_EQ(mostAtOnce.load(), 1);
    EXPECT_FALSE(onCallingThread.load());
    ASSERT_EQ(finished.size(), 4u);
    EXPECT_EQ(finished[2], std::make_tuple(qint64(3), std::make_error_code(std::errc::no_space_on_device), 30));
    EXPECT_EQ(finished[3], std::make_tuple(qint64(4), std::error_code(), 40));
    EXPECT_TRUE(queue.isIdle());
    EXPECT_EQ(drained, 1);
}

TEST(SortQueue, ProgressIsRaisedOncePerPercentUpToAHundred)
{
    SortQueue queue;
    std::vector<int> percents;
    QObject::connect(&queue, &SortQueue::progressed, [&](qint64 id, int percent) {
        EXPECT_EQ(id, 7);
        percents.push_back(percent);
    });
    // 1,000 steps of a tenth of a percent each.
    queue.add(copying(7, 1000 * 1000, 1000));
    ASSERT_TRUE(waitUntil([&] { return queue.isIdle(); }));
    ASSERT_EQ(percents.size(), 100u);
    for (size_t i = 0; i < percents.size(); ++i)
        EXPECT_EQ(percents[i], int(i) + 1);
}

TEST(SortQueue, WithdrawTakesBackOnlyATaskThatHasNotBegun)
{
    SortQueue queue;
    std::atomic<bool> firstBegan {false};
    std::atomic<bool> release {false};
    std::atomic<bool> secondRan {false};
    queue.add({1, [&](const FileOperations::Progress &) {
        firstBegan = true;
        while (!release)
            QThread::msleep(1);
        return SortQueue::Result {};
    }});
    queue.add({2, [&](const FileOperations::Progress &) {
        secondRan = true;
        return SortQueue::Result {};
    }});
    ASSERT_TRUE(waitUntil([&] { return firstBegan.load(); }));

    EXPECT_FALSE(queue.withdraw(1));
    EXPECT_TRUE(queue.withdraw(2));
    EXPECT_FALSE(queue.withdraw(2));
    EXPECT_EQ(queue.newest(), 1);
    release = true;
    ASSERT_TRUE(waitUntil([&] { return queue.isIdle(); }));
    EXPECT_FALSE(secondRan.load());
}

TEST(SortQueue, DestroyingItFinishesEveryTaskStillWaiting)
{
    std::atomic<int> ran {0};
    {
        SortQueue queue;
        for (qint64 id = 1; id <= 3; ++id) {
            queue.add({id, [&](const FileOperations::Progress &) {
                QThread::msleep(20);
                ++ran;
                return SortQueue::Result {};
            }});
        }
    }
    EXPECT_EQ(ran.load(), 3);
}

} // namespace
