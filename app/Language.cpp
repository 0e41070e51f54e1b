// The screen language: the --language option, else the locale of the environment, else English.
#include <cctype>
#include <cstdlib>
#include <string_view>

#include "app/Texts.h"

namespace {

// 0 English, 1 Spanish, 2 German, 3 Russian; -1 for anything else. Only the first two letters
// count, so "de", "de_DE.UTF-8" and "DE" all choose German.
int languageOf(std::string_view name) {
    if (name.size() < 2) return -1;
    char code[2] = {char(std::tolower(static_cast<unsigned char>(name[0]))),
                    char(std::tolower(static_cast<unsigned char>(name[1])))};
    if (name.size() > 2 && std::isalpha(static_cast<unsigned char>(name[2]))) return -1;
    std::string_view two(code, 2);
    if (two == "en") return 0;
    if (two == "es") return 1;
    if (two == "de") return 2;
    if (two == "ru") return 3;
    return -1;
}

}  // namespace

int chooseLanguage(std::string_view option) {
    if (int chosen = languageOf(option); chosen >= 0) return chosen;
    // The C library's order: LC_ALL overrides LC_MESSAGES, which overrides LANG. The first one
    // that is set decides, even when it names a language we do not have.
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) {
            int chosen = languageOf(value);
            return chosen >= 0 ? chosen : 0;
        }
    }
    return 0;
}
