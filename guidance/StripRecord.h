// The strip records of a work: both implement edges at every accepted fix, in the order driven.
// The fix thread appends; the screen, the journal and the writers read the first size() records
// while it does, so a record is complete before the count that shows it is raised, and records
// never move while the work lasts.
//
// Records live in blocks of kBlockRecords, each allocated when the first record reaches it and
// never moved; a table of every block the record can ever have is allocated with the first
// record. A block's address is in the table before the count that shows its first record, so a
// reader that has seen the count finds every block below it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "guidance/SharedValue.h"
#include "guidance/TrackEdge.h"

class StripRecord {
  public:
    // 65 536 records (2 MB) to a block: a work of a few hours fills a handful of them.
    static constexpr int kBlockShift = 16;
    static constexpr std::size_t kBlockRecords = std::size_t(1) << kBlockShift;
    // The count is 32 bits wide: over 4 000 million records, some hundred thousand hours.
    static constexpr std::size_t kMaxRecords = 0xFFFFFFFFu;
    static constexpr std::size_t kMaxBlocks = (kMaxRecords + kBlockRecords - 1) / kBlockRecords;

    constexpr StripRecord() noexcept = default;
    ~StripRecord();
    StripRecord(StripRecord&& other) noexcept;
    StripRecord& operator=(StripRecord&& other) noexcept;

    std::uint32_t size() const noexcept { return count_.load(std::memory_order_acquire); }
    bool empty() const noexcept { return size() == 0; }
    // No record can be added: the count has reached its width.
    bool full() const noexcept { return size() >= kMaxRecords; }
    const TrackEdge& operator[](std::size_t i) const noexcept {
        return blocks_[i >> kBlockShift][i & (kBlockRecords - 1)];
    }
    const TrackEdge& back() const noexcept { return (*this)[size() - 1]; }

    // Appends one record; false, with nothing changed, when the record is full or the memory for
    // a new block cannot be had.
    bool push_back(const TrackEdge& edge);
    // The record becomes these records (as many as memory and the count allow); the rest are
    // dropped.
    void assign(const TrackEdge* first, std::size_t count);
    // Keeps the first count records; records added by growing are zero.
    void resize(std::size_t count);
    void clear() noexcept { count_.store(0, std::memory_order_release); }

  private:
    // Makes sure the blocks for the first count records exist; false when memory runs out.
    bool reserve(std::size_t count) noexcept;
    void release() noexcept;

    // kMaxBlocks entries, of which the first allocated_ point to blocks of plain records: nothing
    // is written (or committed by the system) before use.
    TrackEdge** blocks_ = nullptr;
    std::size_t allocated_ = 0;
    SharedValue<std::uint32_t> count_;
};
