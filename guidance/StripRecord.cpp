#include "guidance/StripRecord.h"

#include <algorithm>
#include <new>
#include <utility>

StripRecord::~StripRecord() {
    release();
}

void StripRecord::release() noexcept {
    for (std::size_t b = 0; b < allocated_; ++b) ::operator delete[](blocks_[b]);
    ::operator delete[](blocks_);
    blocks_ = nullptr;
    allocated_ = 0;
    count_ = 0;
}

StripRecord::StripRecord(StripRecord&& other) noexcept
    : blocks_(std::exchange(other.blocks_, nullptr)),
      allocated_(std::exchange(other.allocated_, 0)),
      count_(other.count_) {
    other.count_ = 0;
}

StripRecord& StripRecord::operator=(StripRecord&& other) noexcept {
    if (this == &other) return *this;
    release();
    blocks_ = std::exchange(other.blocks_, nullptr);
    allocated_ = std::exchange(other.allocated_, 0);
    count_ = other.count_.load();
    other.count_ = 0;
    return *this;
}

bool StripRecord::reserve(std::size_t count) noexcept {
    if (count > kMaxRecords) return false;
    const std::size_t blocks = (count + kBlockRecords - 1) / kBlockRecords;
    if (blocks <= allocated_) return true;
    if (!blocks_) {
        // The whole table at once (512 kB, of which only the pages in use are ever touched): it
        // never moves, so readers may hold on to it while blocks are added.
        blocks_ = static_cast<TrackEdge**>(
            ::operator new[](sizeof(TrackEdge*) * kMaxBlocks, std::nothrow));
        if (!blocks_) return false;
    }
    while (allocated_ < blocks) {
        void* block = ::operator new[](sizeof(TrackEdge) * kBlockRecords, std::nothrow);
        if (!block) return false;
        blocks_[allocated_++] = static_cast<TrackEdge*>(block);
    }
    return true;
}

bool StripRecord::push_back(const TrackEdge& edge) {
    const std::uint32_t count = count_.load(std::memory_order_relaxed);
    if (!reserve(std::size_t(count) + 1)) return false;
    blocks_[count >> kBlockShift][count & (kBlockRecords - 1)] = edge;
    // Release: the record, and the block and table entry it lives in, before the count.
    count_.store(count + 1, std::memory_order_release);
    return true;
}

void StripRecord::assign(const TrackEdge* first, std::size_t count) {
    count_.store(0, std::memory_order_release);
    count = std::min(count, kMaxRecords);
    while (count > 0 && !reserve(count)) count = allocated_ * kBlockRecords;
    for (std::size_t done = 0; done < count;) {
        const std::size_t n = std::min(kBlockRecords, count - done);
        std::copy_n(first + done, n, blocks_[done >> kBlockShift]);
        done += n;
    }
    count_.store(std::uint32_t(count), std::memory_order_release);
}

void StripRecord::resize(std::size_t count) {
    count = std::min(count, kMaxRecords);
    while (count > 0 && !reserve(count)) count = allocated_ * kBlockRecords;
    std::size_t at = size();
    while (at < count) {
        const std::size_t end = std::min(count, (at / kBlockRecords + 1) * kBlockRecords);
        TrackEdge* block = blocks_[at >> kBlockShift];
        std::fill(block + (at & (kBlockRecords - 1)), block + ((end - 1) & (kBlockRecords - 1)) + 1,
                  TrackEdge{});
        at = end;
    }
    count_.store(std::uint32_t(count), std::memory_order_release);
}
