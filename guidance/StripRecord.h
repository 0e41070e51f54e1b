// The strip records of a work: both implement edges at every accepted fix, in the order driven.
// The fix thread appends; the screen, the journal and the writers read the first size() records
// while it does, so a record is complete before the count that shows it is raised, and records
// never move while the work lasts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

#include "guidance/SharedValue.h"
#include "guidance/TrackEdge.h"

class StripRecord {
  public:
    constexpr StripRecord() noexcept = default;
    StripRecord(StripRecord&& other) noexcept;
    StripRecord& operator=(StripRecord&& other) noexcept;

    std::uint16_t size() const noexcept { return count_.load(std::memory_order_acquire); }
    bool empty() const noexcept { return size() == 0; }
    bool full() const noexcept { return size() >= kTrackCapacity; }
    const TrackEdge& operator[](std::size_t i) const noexcept { return edges_[i]; }
    const TrackEdge& back() const noexcept { return edges_[size() - 1]; }
    const TrackEdge* begin() const noexcept { return edges_.get(); }
    const TrackEdge* end() const noexcept { return edges_.get() + size(); }

    // Appends one record; false, with nothing changed, when the record is full.
    bool push_back(const TrackEdge& edge);
    // The record becomes these records (at most the capacity); the rest are dropped.
    void assign(const TrackEdge* first, std::size_t count);
    // Keeps the first count records; records added by growing are zero.
    void resize(std::size_t count);
    void clear() noexcept { count_.store(0, std::memory_order_release); }

  private:
    // Storage of plain records: nothing is written (or committed by the system) before use.
    struct Release {
        void operator()(TrackEdge* edges) const noexcept { ::operator delete[](edges); }
    };
    void allocate();

    // The whole capacity, allocated with the first record and kept until the work is replaced.
    std::unique_ptr<TrackEdge[], Release> edges_;
    SharedValue<std::uint16_t> count_;
};
