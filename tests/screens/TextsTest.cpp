// The screen texts of the four languages and the choice of language.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "app/AppState.h"
#include "app/FontCodePage.h"
#include "app/MessageTables.h"
#include "app/Texts.h"
#include "gfx/Font.h"
#include "platform/Resources.h"

namespace {

// Sets or clears the locale variables for one test, and puts them back after it.
class LocaleEnvironment {
  public:
    LocaleEnvironment(const char* all, const char* messages, const char* lang) {
        for (int i = 0; i < 3; ++i) {
            const char* old = std::getenv(kNames[i]);
            saved_[i] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        set(0, all);
        set(1, messages);
        set(2, lang);
    }
    ~LocaleEnvironment() {
        for (int i = 0; i < 3; ++i) set(i, saved_[i] ? saved_[i]->c_str() : nullptr);
    }

  private:
    static void set(int i, const char* value) {
        if (value)
            setenv(kNames[i], value, 1);
        else
            unsetenv(kNames[i]);
    }
    static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::optional<std::string> saved_[3];
};

TEST(LanguageTest, OptionThenLocaleThenEnglish) {
    struct Case {
        const char* option;
        const char* all;
        const char* messages;
        const char* lang;
        int language;
    };
    const Case cases[] = {
        {"de", nullptr, nullptr, nullptr, 2},
        {"ru", "es_ES.UTF-8", nullptr, nullptr, 3},  // the option wins over the locale
        {"ES", nullptr, nullptr, nullptr, 1},
        {"en", "de_DE.UTF-8", nullptr, nullptr, 0},
        {"", "ru_RU.UTF-8", "de_DE.UTF-8", "es_ES.UTF-8", 3},
        {"", nullptr, "de_DE.UTF-8", "es_ES.UTF-8", 2},
        {"", nullptr, nullptr, "es_ES.UTF-8", 1},
        {"", "", "", "de_AT", 2},  // empty variables do not count
        {"", nullptr, nullptr, "fr_FR.UTF-8", 0},
        {"", "C", nullptr, "de_DE.UTF-8", 0},  // the first one set decides
        {"", nullptr, nullptr, nullptr, 0},
        {"xx", nullptr, nullptr, "de_DE", 2},  // an unknown option falls back to the locale
        {"deu", nullptr, nullptr, nullptr, 0},
    };
    for (const Case& c : cases) {
        LocaleEnvironment environment(c.all, c.messages, c.lang);
        EXPECT_EQ(chooseLanguage(c.option), c.language)
            << "option '" << c.option << "' LANG " << (c.lang ? c.lang : "-");
    }
}

TEST(TextsTest, TablesHoldTheFontsBytes) {
    installTexts();
    appState.ui.language = 2;
    EXPECT_STREQ(messageText(kMsgPromptA), "Ber\x81hren Sie den Bildschirm um Punkt A zu setzen");
    appState.ui.language = 3;
    EXPECT_STREQ(messageText(kMsgPaused), "\x8F\x80\x93\x87\x80");  // ПАУЗА in code page 866
    EXPECT_STREQ(messageText(kMsgExiting), "\x82\xEB\xE5\xAE\xA4...");
    appState.ui.language = 1;
    EXPECT_STREQ(messageText(kMsgPaused), "EN PAUSA");
    appState.ui.language = 0;
    EXPECT_STREQ(messageText(kMsgWelcome), "Welcome to Sulcovane. Please, wait...");
    // Unused, unknown and out-of-range entries give an empty text, never a null.
    for (int id : {8, 10, 11, -1, kMessageCount, 1000}) EXPECT_STREQ(messageText(id), "") << id;
}

TEST(TextsTest, EveryTextCanBeDrawnAndFormatted) {
    for (int language = 0; language < kLanguageCount; ++language) {
        const char* const* table = kMessageTables[language];
        for (int id = 0; id < kMessageCount; ++id) {
            ASSERT_NE(table[id], nullptr);
            std::string text = table[id];
            // Wrapping breaks at spaces: no word may fill a whole line.
            for (std::size_t start = 0, space; start < text.size(); start = space + 1) {
                space = text.find(' ', start);
                if (space == std::string::npos) space = text.size();
                EXPECT_LT(space - start, 23u) << language << "/" << id;
            }
            // Only the waiting text, the recovered work's path, the saved line's distance and
            // the new field's area are formats, with one %s.
            std::size_t percent = text.find('%');
            if (id == kMsgGpsWait || id == kMsgRecovered || id == kMsgSavedLineTooFar ||
                id == kMsgNewField) {
                ASSERT_NE(percent, std::string::npos);
                EXPECT_EQ(text.substr(percent, 2), "%s");
                EXPECT_EQ(text.find('%', percent + 1), std::string::npos);
            } else {
                EXPECT_EQ(percent, std::string::npos) << language << "/" << id;
            }
        }
        // Drawn on one line across a 240-pixel screen.
        for (int id : {kMsgPaused, kMsgWorkFull}) {
            EXPECT_GT(std::strlen(table[id]), 0u);
            EXPECT_LE(9 * std::strlen(table[id]), 241u) << language << "/" << id;
        }
    }
}

TEST(TextsTest, RussianUsesTheCodePage866Font) {
    gfx::Font* before = appState.layout.font;
    appState.layout.font = nullptr;
    auto russian = platform::findResource("FONTS", "866");
    auto latin = platform::findResource("FONTS", "155");
    // Both fonts are built into the program; the two must differ for the check to mean anything.
    ASSERT_GE(russian.size(), std::size_t(gfx::Font::kSize));
    ASSERT_GE(latin.size(), std::size_t(gfx::Font::kSize));
    ASSERT_NE(std::memcmp(russian.data(), latin.data(), gfx::Font::kSize), 0);
    appState.ui.language = 3;
    loadFont();
    ASSERT_NE(appState.layout.font, nullptr);
    EXPECT_EQ(std::memcmp(appState.layout.font->glyphs, russian.data(), gfx::Font::kSize), 0);
    appState.ui.language = 0;
    loadFont();
    ASSERT_NE(appState.layout.font, nullptr);
    EXPECT_EQ(std::memcmp(appState.layout.font->glyphs, latin.data(), gfx::Font::kSize), 0);
    gfx::DestroyFont(appState.layout.font);
    appState.layout.font = before;
}

}  // namespace

// Field names come from the farm book in UTF-8; the screen's font has its own code page.
TEST(TextsTest, FieldNamesAreShownInTheFontsCodePage) {
    const std::uint8_t language = appState.ui.language;
    appState.ui.language = 2;  // German: code page 437
    EXPECT_EQ(inFontCodePage("S\xC3\xBC"
                             "dhang Stra\xC3\x9F"
                             "e"),
              "S\x81"
              "dhang Stra\xE1"
              "e");
    EXPECT_EQ(inFontCodePage("Pond \xE2\x82\xAC \xC3"), "Pond ? ?");
    appState.ui.language = 3;  // Russian: code page 866
    EXPECT_EQ(inFontCodePage("\xD0\x9F\xD0\xBE\xD0\xBB\xD0\xB5 7"), "\x8F\xAE\xAB\xA5 7");
    appState.ui.language = language;
}
