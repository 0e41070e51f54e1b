#include "app/Texts.h"

#include <string>

#include "app/AppState.h"
#include "app/Layout.h"
#include "app/MessageTables.h"
#include "gfx/Font.h"
#include "platform/Resources.h"
#include "settings/DialogTexts.h"

namespace {
constexpr int kRussian = 3;
}

void installTexts() {
    for (int language = 0; language < kLanguageCount; ++language) {
        appState.ui.messageTables[language] = kMessageTables[language];
        appState.ui.dialogTextTables[language] = dialogTextTable(language);
    }
}

const char* messageText(int id) {
    if (id < 0 || id >= kMessageCount) return "";
    int language = appState.ui.language < kLanguageCount ? appState.ui.language : 0;
    const char* const* table = appState.ui.messageTables[language];
    if (!table) table = kMessageTables[language];
    const char* text = table[id];
    return text ? text : "";
}

void loadFont() {
    // The Russian texts are code page 866 bytes: they need the font drawn in that order. Any
    // other language, or a program built without that font, uses the code page 437 font.
    // Layouts from three times the handheld's up use the larger fonts of the same family.
    gfx::Font* font = nullptr;
    const char* page = appState.ui.language == kRussian ? "866" : "155";
    const int height = layoutFontHeight();
    if (height > 16) {
        const std::string id = std::string(page) + "-" + std::to_string(height);
        font = gfx::CreateLargeFont(platform::findResource("FONTS", id), height / 2, height);
    }
    if (!font && appState.ui.language == kRussian)
        font = gfx::CreateFont(platform::findResource("FONTS", "866"));
    if (!font) font = gfx::LoadFontResource();
    gfx::Font* previous = appState.layout.font;
    appState.layout.font = font;
    if (previous) gfx::DestroyFont(previous);
}
