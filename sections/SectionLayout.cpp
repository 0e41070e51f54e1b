#include "sections/SectionLayout.h"

#include <charconv>
#include <cstddef>
#include <utility>

namespace {

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::optional<int> centimetres(const std::string& item) {
    const std::string text = trimmed(item);
    int value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size()) return {};
    if (value < 1 || value > kMaxImplementWidthCm) return {};
    return value;
}

LayoutResult refused(LayoutRefusal why) {
    LayoutResult r;
    r.refusal = why;
    return r;
}

}  // namespace

// Twice the centimetres from the left edge, less the width, over 20: exact in a double for
// every width up to kMaxImplementWidthCm, and a half centimetre when the width is odd.
double SectionLayout::leftDm(int i) const {
    long long edge = 0;
    for (int j = 0; j < i; ++j) edge += widthsCm[std::size_t(j)];
    return double(2 * edge - implementWidthCm) / 20.0;
}

double SectionLayout::rightDm(int i) const {
    return leftDm(i + 1);
}

LayoutResult parseSectionLayout(const std::string& widthsText, int count, int implementWidthCm) {
    if (count < 1 || count > kMaxSections) return refused(LayoutRefusal::CountOutOfRange);
    if (implementWidthCm < count || implementWidthCm > kMaxImplementWidthCm)
        return refused(LayoutRefusal::WidthOutOfRange);
    SectionLayout layout;
    layout.implementWidthCm = implementWidthCm;
    if (trimmed(widthsText).empty()) {
        const int base = implementWidthCm / count;
        const int remainder = implementWidthCm % count;
        for (int i = 0; i < count; ++i) layout.widthsCm.push_back(base + (i < remainder ? 1 : 0));
    } else {
        std::size_t at = 0;
        while (true) {
            const std::size_t comma = widthsText.find(',', at);
            const std::optional<int> width = centimetres(widthsText.substr(at, comma - at));
            if (!width) {
                LayoutResult r = refused(LayoutRefusal::BadNumber);
                r.item = int(layout.widthsCm.size());
                return r;
            }
            layout.widthsCm.push_back(*width);
            if (layout.widthsCm.size() > std::size_t(kMaxSections)) break;
            if (comma == std::string::npos) break;
            at = comma + 1;
        }
        if (layout.count() != count) return refused(LayoutRefusal::CountMismatch);
        long long sum = 0;
        for (int w : layout.widthsCm) sum += w;
        if (sum != implementWidthCm) {
            LayoutResult r = refused(LayoutRefusal::SumNotImplementWidth);
            r.sumCm = int(sum);
            return r;
        }
    }
    LayoutResult r;
    r.layout = std::move(layout);
    return r;
}
