#include "app/SectionBar.h"

#include <algorithm>
#include <cstring>

#include "app/AppState.h"
#include "app/Layout.h"
#include "app/Palette.h"
#include "app/Texts.h"
#include "gfx/Font.h"
#include "gfx/Rasterizer.h"

namespace {

// The bar's height in handheld pixels (k times on the scaled layouts), and the master's width
// in characters of the layout's font: the longest master text has 7.
constexpr int kBarRows = 22;
constexpr int kMasterCharacters = 8;

// The day colours of the boxes; at night each is dimmed as the pictures are. Master Off has no
// fill of its own: its boxes are empty, the plate inside an outline.
constexpr gfx::Pixel kOn = gfx::pixelFromRgb(0, 192, 0);
constexpr gfx::Pixel kForcedOn = gfx::pixelFromRgb(144, 238, 144);
constexpr gfx::Pixel kForcedOff = gfx::pixelFromRgb(224, 0, 0);
constexpr gfx::Pixel kWorkedGround = gfx::pixelFromRgb(136, 136, 136);
constexpr gfx::Pixel kOutsideField = gfx::pixelFromRgb(160, 82, 45);
constexpr gfx::Pixel kHeadland = gfx::pixelFromRgb(240, 208, 0);
constexpr gfx::Pixel kTooSlow = gfx::pixelFromRgb(32, 96, 240);
// The master button: a grey key on the plate, its text in the plate's ink.
constexpr gfx::Pixel kMasterDay = gfx::pixelFromRgb(208, 208, 208);
constexpr gfx::Pixel kMasterNight = gfx::pixelFromRgb(64, 68, 64);

int cellWidth() {
    return appState.layout.font ? appState.layout.font->cellWidth() : gfx::Font::kCellWidth;
}

// The bar belongs to a work being driven: not to the review of a saved one.
bool barShown() {
    const std::uint8_t state = appState.ui.screenState;
    return sectionControl.active && sectionControl.layout.count() >= 1 &&
           (state == kStateFreeWork || state == kStateGuidance || state == kStateSettingAB);
}

bool landscape() {
    return appState.layout.orientation == 1 || appState.layout.orientation == 3;
}

// A rectangle drawn as a border of width b in ink around a fill; one too small for a border
// and an inside is all small.
void framedBox(gfx::Rasterizer& r, const ButtonRect& box, int b, gfx::Pixel ink, gfx::Pixel fill,
               gfx::Pixel small) {
    if (box.right - box.left < 2 * b + 1 || box.bottom - box.top < 2 * b + 1) {
        r.FillRect(box.left, box.top, box.right, box.bottom, small);
        return;
    }
    r.FillRect(box.left, box.top, box.right, box.bottom, ink);
    r.FillRect(box.left + b, box.top + b, box.right - b, box.bottom - b, fill);
}

}  // namespace

SectionBarPlace sectionBarPlace() {
    const ScreenLayout& l = appState.layout;
    const int k = std::max<int>(l.layoutScale, 1);
    const int m = l.textMargin;
    SectionBarPlace place;
    // Above the finish-boundary button's place (the middle of the lower half, two text lines
    // high), which lies above the guide numbers: neither is covered, whatever is being driven.
    const int bottom = int(l.screenHeight) * 3 / 4 - textLineHeight() - m;
    place.plate.top = bottom - kBarRows * k;
    place.plate.bottom = bottom;
    if (landscape()) {
        place.plate.left = l.btnFinish.right + m;
        place.plate.right = l.btnZoomIn.left - m;
    } else {
        place.plate.left = l.btnFinish.left + m;
        place.plate.right = l.btnZoomIn.right - m;
    }
    const int pad = k;
    place.master = {place.plate.left + pad, place.plate.top + pad,
                    place.plate.left + pad + kMasterCharacters * cellWidth() + 2 * m,
                    place.plate.bottom - pad};
    place.boxes = {place.master.right + m, place.plate.top + pad, place.plate.right - pad,
                   place.plate.bottom - pad};
    return place;
}

ButtonRect sectionBox(const SectionBarPlace& place, int section, int count) {
    const std::int64_t width = place.boxes.right - place.boxes.left;
    const auto edge = [&](int i) {
        return place.boxes.left + std::int32_t(width * i / std::max(count, 1));
    };
    const std::int64_t share = width / std::max(count, 1);
    const int k = std::max<int>(appState.layout.layoutScale, 1);
    const int gap = share >= 3 ? std::max(1, std::min<int>(k, int(share / 6))) : 0;
    return {edge(section), place.boxes.top, edge(section + 1) - gap, place.boxes.bottom};
}

gfx::Pixel sectionPlateColour() {
    return messageGround();
}

gfx::Pixel sectionMasterColour() {
    return nightPalette() ? kMasterNight : kMasterDay;
}

gfx::Pixel sectionInkColour() {
    return messageInk();
}

gfx::Pixel sectionColour(SectionShown shown) {
    gfx::Pixel day = kOn;
    switch (shown) {
        case SectionShown::On:
            day = kOn;
            break;
        case SectionShown::Off:
            return sectionPlateColour();
        case SectionShown::ForcedOn:
            day = kForcedOn;
            break;
        case SectionShown::ForcedOff:
            day = kForcedOff;
            break;
        case SectionShown::WorkedGround:
            day = kWorkedGround;
            break;
        case SectionShown::OutsideField:
            day = kOutsideField;
            break;
        case SectionShown::Headland:
            day = kHeadland;
            break;
        case SectionShown::TooSlow:
            day = kTooSlow;
            break;
    }
    return nightPalette() ? dimmedPixel(day) : day;
}

int sectionMasterText(SectionMaster master) {
    switch (master) {
        case SectionMaster::Manual:
            return kMsgSectionManual;
        case SectionMaster::Off:
            return kMsgSectionOff;
        default:
            return kMsgSectionAuto;
    }
}

SectionMaster nextSectionMaster(SectionMaster master) {
    switch (master) {
        case SectionMaster::Auto:
            return SectionMaster::Manual;
        case SectionMaster::Manual:
            return SectionMaster::Off;
        default:
            return SectionMaster::Auto;
    }
}

SectionBarHit sectionBarHitAt(int x, int y) {
    if (!barShown()) return {};
    const int count = sectionControl.layout.count();
    const SectionBarPlace place = sectionBarPlace();
    if (!place.plate.contains(x, y)) return {};
    if (x < place.boxes.left) return {SectionBarHit::Master, -1};
    // The box whose share holds x; a gap belongs to the box on its left.
    int section = 0;
    while (section + 1 < count && sectionBox(place, section + 1, count).left <= x) ++section;
    return {SectionBarHit::Section, section};
}

void drawSectionBar(gfx::Rasterizer& r) {
    if (!barShown()) return;
    const SectionControl& c = sectionControl;
    const int count = c.layout.count();
    const SectionBarPlace place = sectionBarPlace();
    const int k = std::max<int>(appState.layout.layoutScale, 1);
    const gfx::Pixel plate = sectionPlateColour(), ink = sectionInkColour();
    r.FillRect(place.plate.left, place.plate.top, place.plate.right, place.plate.bottom, plate);

    const ButtonRect& m = place.master;
    r.FillRect(m.left, m.top, m.right, m.bottom, sectionMasterColour());
    const char* text = messageText(sectionMasterText(c.master));
    const int width = int(std::strlen(text)) * cellWidth() - 1;
    r.DrawString(appState.layout.font, text, gfx::kAlignAtX,
                 m.left + (m.right - m.left - width) / 2,
                 m.top + (m.bottom - m.top - textLineHeight()) / 2, ink);

    for (int i = 0; i < count; ++i) {
        const ButtonRect box = sectionBox(place, i, count);
        const SectionShown shown = sectionShown(i);
        if (shown == SectionShown::Off) {
            // An empty box: the plate inside a thin outline.
            framedBox(r, box, std::max(1, k / 2), ink, plate, ink);
        } else if (shown == SectionShown::ForcedOn || shown == SectionShown::ForcedOff) {
            // The driver's own: a heavy border round the colour.
            framedBox(r, box, 2 * k, ink, sectionColour(shown), sectionColour(shown));
        } else {
            r.FillRect(box.left, box.top, box.right, box.bottom, sectionColour(shown));
        }
    }
}
