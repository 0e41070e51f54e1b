// A work journal as a power cut, a bad card or a later program may leave it: any bytes. Reading
// must never fail, must take only records that end within the bytes, and must give a work the
// program can continue.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "journal/JournalFormat.h"
#include "journal/JournalReader.h"
#include "journal/JournalWorkKind.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    journal::JournalContents c = journal::readJournal(data, size);
    if (!c.readable) {
        if (c.records != 0 || !c.strips.empty()) std::abort();
        return 0;
    }
    if (c.goodBytes > size || c.goodBytes < journal::kHeaderSize) std::abort();
    if (c.damaged != (c.goodBytes != size)) std::abort();
    if (!std::isfinite(c.area) || c.area < 0.0) std::abort();
    std::uint32_t last = 0;
    for (std::uint32_t mark : c.pauseMarks) {
        if (mark > c.strips.size() || mark < last) std::abort();
        last = mark;
    }
    if (c.pointBSet && !c.pointASet) std::abort();
    if (c.kind != std::uint8_t(JournalWorkKind::Free) &&
        c.kind != std::uint8_t(JournalWorkKind::AbLine))
        std::abort();
    // The trusted part alone reads the same.
    journal::JournalContents again = journal::readJournal(data, c.goodBytes);
    if (again.records != c.records || again.damaged) std::abort();
    return 0;
}
