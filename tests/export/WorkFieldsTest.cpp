// The small pieces of text the work files are made of: numbers of the table, the name field,
// the base path and XML character data.
#include <gtest/gtest.h>

#include <cmath>

#include "export/BasePath.h"
#include "export/DbfNumber.h"
#include "export/XmlText.h"

namespace {

TEST(WorkFieldsTest, NumbersFitTheirField) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {16.5, " 16.5000000000000000"},   {-16.5, "-16.5000000000000000"},
        {123.25, "123.2500000000000000"}, {-123.25, "-123.250000000000000"},
        {0.0, "  0.0000000000000000"},    {-0.0, " -0.0000000000000000"},
    };
    for (const Case& c : cases) EXPECT_EQ(formatDbfNumber(c.value, 20, 16), c.text) << c.value;
    EXPECT_EQ(formatDbfNumber(1e30, 20, 16), "");
    EXPECT_EQ(formatDbfNumber(NAN, 20, 16), "");
}

TEST(WorkFieldsTest, BasePathCutsTheFileNameOnly) {
    const std::pair<const char*, const char*> cases[] = {
        {"/data/meadow.shp", "/data/meadow"},
        {"/data/meadow", "/data/meadow"},
        {"/data/v1.2/meadow", "/data/v1.2/meadow"},
        {"/data/v1.2/meadow.old.shp", "/data/v1.2/meadow.old"},
        {"meadow.shp", "meadow"},
        {".shp", ""},
    };
    for (auto [in, out] : cases) {
        std::string path = in;
        cutAtExtension(path);
        EXPECT_EQ(path, out) << in;
    }
}

TEST(WorkFieldsTest, XmlTextEscapesMarkupAndMendsBadBytes) {
    const std::pair<std::string, std::string> cases[] = {
        {"Smith & Sons", "Smith &amp; Sons"},
        {"<a href=\"x\">'", "&lt;a href=&quot;x&quot;&gt;&apos;"},
        {"Müller/Äcker", "Müller/Äcker"},
        {"Поле", "Поле"},
        {"bad\xFF\xC3", "bad\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"over\xC0\xAFlong", "over\xEF\xBF\xBD\xEF\xBF\xBDlong"},
        {"surrogate\xED\xA0\x80", "surrogate\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"bell\x07tab\t", "bell\xEF\xBF\xBDtab\t"},
        {"\xF0\x9F\x9A\x9C tractor", "\xF0\x9F\x9A\x9C tractor"},
    };
    for (const auto& [in, out] : cases) {
        std::string text;
        appendXmlText(text, in);
        EXPECT_EQ(text, out) << in;
    }
}

}  // namespace
