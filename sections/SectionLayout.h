// The implement's sections: how many, how wide each is, and where each lies across the
// implement. Parsed from the settings the driver types: a count, the implement width and either
// nothing (equal sections) or each section's width in centimetres, left to right.
#pragma once

#include <optional>
#include <string>
#include <vector>

// Section 1 is the leftmost, seen from the driver's seat, as the section boards number them.
struct SectionLayout {
    int implementWidthCm = 0;
    std::vector<int> widthsCm;  // left to right; they add up to implementWidthCm

    int count() const { return int(widthsCm.size()); }
    // Offsets across the implement from its centre, in decimetres, positive to the right (as the
    // cross-track error): section i (0-based) spans leftDm(i) to rightDm(i), and the sections
    // meet without gaps from -width/2 to +width/2.
    double leftDm(int i) const;
    double rightDm(int i) const;
};

enum class LayoutRefusal {
    None,
    CountOutOfRange,       // fewer than 1 or more than 64 sections
    WidthOutOfRange,       // implement width not 1 cm per section to kMaxImplementWidthCm
    BadNumber,             // an item of the widths text that is no whole number of centimetres > 0
    CountMismatch,         // the widths text lists another number of sections than the count
    SumNotImplementWidth,  // the widths add up to another width than the implement's
};

struct LayoutResult {
    std::optional<SectionLayout> layout;  // set when refusal is None
    LayoutRefusal refusal = LayoutRefusal::None;
    int item = -1;  // BadNumber: the 0-based item of the widths text
    int sumCm = 0;  // SumNotImplementWidth: what the widths add up to, to show the difference
};

constexpr int kMaxSections = 64;
constexpr int kMaxImplementWidthCm = 100000;  // 1 km: no implement, a typing error

// widthsText: empty (or blanks) for count equal sections, else count comma-separated widths
// in cm; blanks around an item are allowed. Equal sections that do not divide the implement
// width give the remaining centimetres one each to the leftmost sections.
// Typed widths must add up to the implement width exactly: the offsets decide where each
// section switches, and a sum off by a centimetre a section would leave the sections spanning
// another width than the implement that the worked strip and guidance use.
LayoutResult parseSectionLayout(const std::string& widthsText, int count, int implementWidthCm);
