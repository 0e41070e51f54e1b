// The strip records in blocks: every record is read back as written across block ends, records
// never move, and a reader on another thread sees every record the count shows, complete.
#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

#include "guidance/StripRecord.h"

namespace {

// A record that tells its own index, in every coordinate.
TrackEdge edgeOf(std::size_t i) {
    const double v = double(i);
    return {v, -v, v + 0.25, 3.0 * v};
}

bool holds(const TrackEdge& e, std::size_t i) {
    const TrackEdge want = edgeOf(i);
    return e.leftX == want.leftX && e.leftY == want.leftY && e.rightX == want.rightX &&
           e.rightY == want.rightY;
}

// The index of the first record that is not the one written there, or the count when all are.
std::size_t firstWrong(const StripRecord& strips) {
    for (std::size_t i = 0; i < strips.size(); ++i)
        if (!holds(strips[i], i)) return i;
    return strips.size();
}

constexpr std::size_t kRecords = 3 * StripRecord::kBlockRecords + 17;

TEST(StripRecord, RecordsAcrossBlocksReadBackInOrderAndNeverMove) {
    StripRecord strips;
    for (std::size_t i = 0; i < kRecords; ++i) ASSERT_TRUE(strips.push_back(edgeOf(i)));
    ASSERT_EQ(strips.size(), kRecords);
    EXPECT_EQ(firstWrong(strips), kRecords);
    EXPECT_TRUE(holds(strips.back(), kRecords - 1));

    // A reader may keep the address of a record while the work grows.
    const TrackEdge* kept = &strips[StripRecord::kBlockRecords - 1];
    for (std::size_t i = kRecords; i < kRecords + StripRecord::kBlockRecords; ++i)
        strips.push_back(edgeOf(i));
    EXPECT_EQ(kept, &strips[StripRecord::kBlockRecords - 1]);
    EXPECT_TRUE(holds(*kept, StripRecord::kBlockRecords - 1));

    // The record moves whole into a new work and leaves nothing behind.
    StripRecord moved(std::move(strips));
    EXPECT_TRUE(strips.empty());
    EXPECT_EQ(moved.size(), kRecords + StripRecord::kBlockRecords);
    EXPECT_EQ(firstWrong(moved), moved.size());
    EXPECT_TRUE(strips.push_back(edgeOf(0)));
    EXPECT_EQ(strips.size(), 1u);
}

TEST(StripRecord, AssignResizeAndClearKeepTheirRecordsExactly) {
    std::vector<TrackEdge> source;
    for (std::size_t i = 0; i < kRecords; ++i) source.push_back(edgeOf(i));
    StripRecord strips;
    strips.assign(source.data(), source.size());
    ASSERT_EQ(strips.size(), kRecords);
    EXPECT_EQ(firstWrong(strips), kRecords);

    strips.resize(StripRecord::kBlockRecords + 5);
    EXPECT_EQ(strips.size(), StripRecord::kBlockRecords + 5);
    EXPECT_EQ(firstWrong(strips), strips.size());
    // Growing again brings zero records, never the ones dropped.
    strips.resize(2 * StripRecord::kBlockRecords + 9);
    for (std::size_t i = StripRecord::kBlockRecords + 5; i < strips.size(); ++i) {
        ASSERT_EQ(strips[i].leftX, 0.0) << i;
        ASSERT_EQ(strips[i].rightY, 0.0) << i;
    }
    strips.clear();
    EXPECT_TRUE(strips.empty());
    strips.assign(source.data() + 1, 2);
    EXPECT_EQ(strips.size(), 2u);
    EXPECT_TRUE(holds(strips[1], 2));

    // Move-assigning a work over another releases the old one's blocks (the sanitizer build
    // sees a leak otherwise) and takes the new one's.
    StripRecord other;
    other.assign(source.data(), 10);
    strips = std::move(other);
    EXPECT_EQ(strips.size(), 10u);
    EXPECT_EQ(firstWrong(strips), 10u);
}

TEST(StripRecord, AReaderOnAnotherThreadSeesEveryCountedRecordComplete) {
    StripRecord strips;
    std::atomic<bool> done{false};
    std::size_t wrong = 0;
    std::thread reader([&] {
        std::size_t seen = 0;
        while (!done.load(std::memory_order_acquire) || seen < strips.size()) {
            const std::size_t n = strips.size();
            if (n == 0) continue;
            // The newest record and the first of its block: the ones a late publish would spoil.
            if (!holds(strips[n - 1], n - 1)) ++wrong;
            const std::size_t blockStart = (n - 1) & ~(StripRecord::kBlockRecords - 1);
            if (!holds(strips[blockStart], blockStart)) ++wrong;
            seen = n;
        }
    });
    for (std::size_t i = 0; i < kRecords; ++i) strips.push_back(edgeOf(i));
    done.store(true, std::memory_order_release);
    reader.join();
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(firstWrong(strips), kRecords);
}

}  // namespace
