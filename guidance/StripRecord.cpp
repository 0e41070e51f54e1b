#include "guidance/StripRecord.h"

#include <algorithm>
#include <utility>

void StripRecord::allocate() {
    edges_.reset(static_cast<TrackEdge*>(::operator new[](sizeof(TrackEdge) * kTrackCapacity)));
}

StripRecord::StripRecord(StripRecord&& other) noexcept
    : edges_(std::move(other.edges_)), count_(other.count_) {
    other.count_ = 0;
}

StripRecord& StripRecord::operator=(StripRecord&& other) noexcept {
    edges_ = std::move(other.edges_);
    count_ = other.count_.load();
    other.count_ = 0;
    return *this;
}

bool StripRecord::push_back(const TrackEdge& edge) {
    const std::uint16_t count = count_.load(std::memory_order_relaxed);
    if (count >= kTrackCapacity) return false;
    if (!edges_) allocate();
    edges_[count] = edge;
    count_.store(static_cast<std::uint16_t>(count + 1), std::memory_order_release);
    return true;
}

void StripRecord::assign(const TrackEdge* first, std::size_t count) {
    count = std::min<std::size_t>(count, kTrackCapacity);
    count_.store(0, std::memory_order_release);
    if (count == 0) return;
    if (!edges_) allocate();
    std::copy_n(first, count, edges_.get());
    count_.store(static_cast<std::uint16_t>(count), std::memory_order_release);
}

void StripRecord::resize(std::size_t count) {
    count = std::min<std::size_t>(count, kTrackCapacity);
    if (!edges_) allocate();
    const std::size_t before = size();
    if (count > before) std::fill(edges_.get() + before, edges_.get() + count, TrackEdge{});
    count_.store(static_cast<std::uint16_t>(count), std::memory_order_release);
}
