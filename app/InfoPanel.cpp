#include "app/InfoPanel.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "app/AppState.h"
#include "app/Corrections.h"
#include "app/FieldWork.h"
#include "app/GpsControl.h"
#include "app/Layout.h"
#include "app/Palette.h"
#include "app/Texts.h"
#include "gfx/Font.h"
#include "gfx/Pixel.h"
#include "gfx/Rasterizer.h"

namespace {

// A panel line being built: fixed-point numbers always with a '.', whatever the locale, and
// never past the end of the line.
class PanelLine {
  public:
    PanelLine& number(double value, int decimals) {
        auto [end, error] = std::to_chars(next_, last_, value, std::chars_format::fixed, decimals);
        if (error == std::errc()) next_ = end;
        *next_ = 0;
        return *this;
    }
    PanelLine& number(int value) {
        auto [end, error] = std::to_chars(next_, last_, value);
        if (error == std::errc()) next_ = end;
        *next_ = 0;
        return *this;
    }
    PanelLine& text(const char* words) {
        std::size_t n = std::min(std::strlen(words), std::size_t(last_ - next_));
        std::memcpy(next_, words, n);
        next_ += n;
        *next_ = 0;
        return *this;
    }
    const char* str() const { return buffer_; }

  private:
    char buffer_[64] = {};
    char* next_ = buffer_;
    char* last_ = buffer_ + sizeof(buffer_) - 1;  // room for the terminating zero
};

// The width a centred line of the panel has at row: the screen's, less the work buttons beside
// it on that row.
int panelRoom(int row) {
    const ScreenLayout& layout = appState.layout;
    const int centre = layout.screenWidth / 2, bottom = row + textLineHeight();
    int half = centre;
    for (const ButtonRect* b : {&layout.btnZoomIn, &layout.btnZoomOut, &layout.btnWorkMenu,
                                &layout.btnViewToggle, &layout.btnFinish}) {
        if (b->right <= b->left || b->bottom <= row || b->top >= bottom) continue;
        if (b->right <= centre)
            half = std::min(half, centre - b->right);
        else if (b->left >= centre)
            half = std::min(half, b->left - centre);
        else
            half = 0;
    }
    return 2 * half;
}

}  // namespace

void drawInfoPanel(gfx::Rasterizer& target) {
    const AppState& s = appState;
    std::uint8_t state = s.ui.screenState;
    // The ground worked, each square metre once; the ground worked again goes beside it where
    // the line has room for it.
    double hectares = s.work.groundArea * 1e-6;
    double overlap = std::max(s.work.workedArea - s.work.groundArea, 0.0) * 1e-6;
    double kilometres = s.work.distance * 1e-4;

    auto panelLine = [&](PanelLine& line, bool withOverlap) {
        line.number(hectares, 2).text(" ha ");
        if (withOverlap)
            line.text("(").text(messageText(kMsgOverlap)).text(" ").number(overlap, 2).text(") ");
        line.number(kilometres, 2).text(" Km");
        if (state != kStateReview) line.text(" ").number(s.fix.speedKnots * 1.852, 1).text(" Km/h");
    };
    // In guidance the panel moves below the steering bar (and the large cross-track digits).
    const int row = infoPanelRow(state);

    // The field's share done, where the line has room for it, else on a line of its own.
    PanelLine share;
    if (workField.inPlane && workField.shape.areaDm2 > 0.0) {
        const double done =
            std::min(100.0, 100.0 * workField.groundInField / workField.shape.areaDm2);
        share.text("  ").number(int(done + 0.5)).text(" % ").text(messageText(kMsgShareOf));
        share.text(" ").number(workField.shape.areaDm2 * 1e-6, 2).text(" ha");
    }
    PanelLine candidates[4];
    panelLine(candidates[0], true);
    candidates[0].text(share.str());
    panelLine(candidates[1], false);
    candidates[1].text(share.str());
    panelLine(candidates[2], true);
    panelLine(candidates[3], false);
    const int cell = s.layout.font ? s.layout.font->cellWidth() : 9;
    int chosen = 0;
    while (chosen < 3 && int(std::strlen(candidates[chosen].str())) * cell > panelRoom(row))
        ++chosen;
    const PanelLine& first = candidates[chosen];
    const bool shareApart = chosen >= 2 && share.str()[0] != '\0';

    gfx::Pixel colour = gfx::pixelFromColorRef(screenTextColor());
    target.DrawString(s.layout.font, first.str(), gfx::kAlignCentre, 0, row, colour);
    if (state == kStateReview) return;

    // Nothing heard from the receiver for a while: the satellites and HDOP shown would be old.
    PanelLine second;
    const CorrectionsView corrections = correctionsView(s.fix.fixQuality);
    if (receiverSilent()) {
        second.text("No data");
    } else {
        second.text("Sat: ")
            .number(int(s.fix.satellitesUsed))
            .text(" HDOP: ")
            .number(s.fix.hdop, 1);
        // The fix type and the age of the last correction, when corrections run or the
        // receiver has some; a line below tells of a lost RTK fix or a correction link that is
        // down.
        if (corrections.shown && corrections.fixType[0] != '\0') {
            second.text(" ").text(corrections.fixType);
            if (corrections.ageSeconds >= 0)
                second.text(" ").number(corrections.ageSeconds).text("s");
        }
    }
    target.DrawString(s.layout.font, second.str(), gfx::kAlignCentre, 0, row + textLineHeight(),
                      colour);
    if (corrections.messageId >= 0) {
        target.DrawString(s.layout.font, messageText(corrections.messageId), gfx::kAlignCentre, 0,
                          row + 2 * textLineHeight(), colour);
    } else if (shareApart) {
        target.DrawString(s.layout.font, share.str() + 2, gfx::kAlignCentre, 0,
                          row + 2 * textLineHeight(), colour);
    }
}
