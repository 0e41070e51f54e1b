#include "app/FieldChoice.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/FarmSession.h"
#include "app/FieldSession.h"
#include "app/FixedNumber.h"
#include "app/FontCodePage.h"
#include "app/Layout.h"
#include "app/Palette.h"
#include "app/Texts.h"
#include "farm/FieldOrder.h"
#include "gfx/Font.h"
#include "gfx/Rasterizer.h"
#include "gfx/Surface.h"

namespace {

// The picture shows through faintly, as under the messages.
constexpr std::uint32_t kPictureAlpha = 90;

std::uint8_t chosenWorkState = kStateFreeWork;
// The fields as last ordered, and whether the vehicle's position was known then.
std::vector<FieldByDistance> order;
bool orderedByPosition = false;
std::uint32_t orderedVersion = 0;
// The field waiting for the answer to "Continue the last work".
std::int64_t askedField = 0;

enum class RowKind { Field, Boundary, NoField };
struct Row {
    RowKind kind;
    std::size_t field = 0;  // into the book's fields
};

// The rows that fit under the title: the nearest fields, then the new boundary and no field.
std::vector<Row> rows() {
    const int fit = std::max(2, int(appState.layout.screenHeight) / fieldChoiceRowHeight() - 1);
    std::vector<Row> list;
    for (const FieldByDistance& f : order) {
        if (int(list.size()) + 2 >= fit) break;
        list.push_back({RowKind::Field, f.index});
    }
    list.push_back({RowKind::Boundary});
    list.push_back({RowKind::NoField});
    return list;
}

void orderFields() {
    LonLat vehicle;
    bool known = false;
    {
        std::lock_guard lock(appState.frameLock);
        known = appState.fix.lonLatKnown;
        vehicle = {appState.fix.lonLat[0], appState.fix.lonLat[1]};
    }
    const FarmContents& contents = farmContents();
    if (known) {
        order = fieldsByDistance(contents, vehicle);
    } else {
        // Without a position the fields are offered by name.
        order.clear();
        for (std::size_t i = 0; i < contents.fields.size(); ++i) order.push_back({i, -1.0});
        std::sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
            return contents.fields[a.index].name < contents.fields[b.index].name;
        });
    }
    orderedByPosition = known;
    orderedVersion = farmContentsVersion();
}

// A position that came since the screen opened puts the field underfoot first; a new reading
// of the book may have other fields.
void orderIfStale() {
    if (!orderedByPosition || orderedVersion != farmContentsVersion()) orderFields();
}

std::string rowText(const Row& row) {
    if (row.kind == RowKind::Boundary) return messageText(kMsgDriveBoundary);
    if (row.kind == RowKind::NoField) return messageText(kMsgNoField);
    const FieldEntry& field = farmContents().fields[row.field];
    double metres = -1.0;
    for (const FieldByDistance& f : order)
        if (f.index == row.field) metres = f.metres;
    std::string text = inFontCodePage(field.name) + "  " + fixedNumber(field.areaHa, 2) + " ha";
    if (metres == 0.0)
        text += std::string("  ") + messageText(kMsgInField);
    else if (metres > 0.0 && metres < 1000.0)
        text += "  " + fixedNumber(metres, 0) + " m";
    else if (metres >= 1000.0)
        text += "  " + fixedNumber(metres / 1000.0, 1) + " km";
    return text;
}

bool fieldHasWork(std::int64_t fieldId) {
    for (const WorkEntry& w : farmContents().works)
        if (w.fieldId == fieldId) return true;
    return false;
}

}  // namespace

int fieldChoiceRowHeight() {
    // A finger's width on every screen, and room for a line of text with space around it.
    return std::max(2 * textLineHeight(), 20 * int(appState.layout.layoutScale));
}

bool fieldChoiceOffered() {
    return farmBookOpen();
}

void enterFieldChoice(std::uint8_t workState) {
    chosenWorkState = workState;
    orderFields();
    appState.ui.screenState = kStateFieldChoice;
}

void drawFieldChoice(gfx::Rasterizer& target) {
    if (!target.Target() || !appState.layout.font) return;
    refreshPalette();
    orderIfStale();
    const ScreenLayout& layout = appState.layout;
    target.Clear(messageGround());
    if (layout.backgroundImage) {
        target.SetBlending(kPictureAlpha);
        target.Blit(0, 0, layout.backgroundImage);
        target.ResetBlending();
    }
    const gfx::Pixel ink = messageInk();
    const int h = fieldChoiceRowHeight(), line = textLineHeight();
    target.DrawString(layout.font, messageText(kMsgChooseField), gfx::kAlignCentre, 0,
                      (h - line) / 2, ink);
    const int margin = 4 * layout.layoutScale;
    const int cell = layout.font->cellWidth();
    const int fit = std::max(1, (int(layout.screenWidth) - 4 * margin) / cell);
    int y = h;
    for (const Row& row : rows()) {
        const int left = margin, right = layout.screenWidth - margin;
        target.FillRect(left, y + 1, right, y + h - 1, messageGround());
        target.DrawHLine(left, y + 1, right - left, ink);
        target.DrawHLine(left, y + h - 2, right - left, ink);
        target.DrawVLine(left, y + 1, h - 2, ink);
        target.DrawVLine(right - 1, y + 1, h - 2, ink);
        const std::string text = rowText(row);
        target.DrawString(layout.font, text.c_str(), gfx::kAlignAtX, 2 * margin, y + (h - line) / 2,
                          ink, std::min(int(text.size()), fit));
        y += h;
    }
}

void tapFieldChoice(int, int y) {
    orderIfStale();
    const int index = y / fieldChoiceRowHeight() - 1;
    const std::vector<Row> list = rows();
    if (index < 0 || index >= int(list.size())) return;
    const Row row = list[std::size_t(index)];
    if (row.kind == RowKind::NoField) {
        beginWorkWithoutField(chosenWorkState);
    } else if (row.kind == RowKind::Boundary) {
        beginBoundaryDrive(chosenWorkState);
    } else {
        const FieldEntry& field = farmContents().fields[row.field];
        if (!fieldHasWork(field.id)) {
            beginFieldWork(chosenWorkState, field.id, false);
            return;
        }
        askedField = field.id;
        std::strncpy(appState.ui.promptText, messageText(kMsgContinueLastWork),
                     sizeof appState.ui.promptText - 1);
        appState.ui.confirmKind = kConfirmContinue;
        appState.ui.returnState = kStateFieldChoice;
        appState.ui.screenState = kStateConfirm;
    }
}

void answerContinueLastWork(bool yes) {
    beginFieldWork(chosenWorkState, askedField, yes);
}
