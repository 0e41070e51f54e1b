// Every picture the screens load: found under its type and number, decodable, of the size the
// layout places it at, and transparent exactly where its colour key says.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Resources.h"

namespace {

enum class Key { none, magenta, white, black };

struct Picture {
    const char* type;
    const char* id;
    int width;
    int height;
    Key key;
};

// Normal layout, then the wide one, then the pictures both layouts share.
const Picture pictures[] = {
    {"GIF", "156", 240, 320, Key::none},
    {"BITMAP", "134", 48, 48, Key::black},
    {"BITMAP", "135", 48, 48, Key::black},
    {"BITMAP", "136", 48, 48, Key::black},
    {"BITMAP", "142", 48, 48, Key::black},
    {"GIF", "161", 48, 48, Key::magenta},
    {"BITMAP", "144", 20, 27, Key::white},
    {"BITMAP", "145", 20, 27, Key::white},
    {"GIF", "174", 140, 40, Key::magenta},
    {"GIF", "175", 140, 40, Key::magenta},
    {"GIF", "178", 140, 40, Key::magenta},
    {"GIF", "190", 140, 40, Key::magenta},
    {"GIF", "177", 140, 40, Key::magenta},
    {"GIF", "164", 160, 76, Key::magenta},
    {"GIF", "163", 160, 76, Key::magenta},
    {"GIF", "170", 160, 76, Key::magenta},
    {"GIF", "169", 160, 76, Key::magenta},

    {"GIF", "166", 480, 640, Key::none},
    {"BITMAP", "139", 96, 96, Key::black},
    {"BITMAP", "140", 96, 96, Key::black},
    {"BITMAP", "141", 96, 96, Key::black},
    {"BITMAP", "143", 96, 96, Key::black},
    {"GIF", "162", 96, 96, Key::magenta},
    {"BITMAP", "188", 40, 54, Key::white},
    {"BITMAP", "189", 40, 54, Key::white},
    {"GIF", "179", 280, 80, Key::magenta},
    {"GIF", "180", 280, 80, Key::magenta},
    {"GIF", "183", 280, 80, Key::magenta},
    {"GIF", "191", 280, 80, Key::magenta},
    {"GIF", "182", 280, 80, Key::magenta},
    {"GIF", "184", 320, 152, Key::magenta},
    {"GIF", "185", 320, 152, Key::magenta},
    {"GIF", "187", 320, 152, Key::magenta},
    {"GIF", "186", 320, 152, Key::magenta},

    // 200 pixels per metre: 2.5 m across the rear tyres.
    {"GIF", "157", 500, 720, Key::magenta},
};

// The normal layout's pictures drawn again for the layout scales 3, 4 and 5, named
// "<id>-<scale>", at that many times their size.
std::vector<Picture> everyPicture() {
    static std::vector<std::string> ids;
    std::vector<Picture> all(std::begin(pictures), std::end(pictures));
    if (ids.empty())
        for (int k = 3; k <= 5; ++k)
            for (int i = 0; i < 17; ++i)
                ids.push_back(std::string(pictures[i].id) + "-" + std::to_string(k));
    std::size_t n = 0;
    for (int k = 3; k <= 5; ++k)
        for (int i = 0; i < 17; ++i) {
            const Picture& p = pictures[i];
            all.push_back({p.type, ids[n++].c_str(), p.width * k, p.height * k, p.key});
        }
    return all;
}

QRgb keyColour(Key key) {
    switch (key) {
        case Key::magenta:
            return qRgb(255, 0, 255);
        case Key::white:
            return qRgb(255, 255, 255);
        default:
            return qRgb(0, 0, 0);
    }
}

// The screen keeps 5-6-5 pixels; a key matches after that reduction.
std::uint16_t to565(QRgb c) {
    return std::uint16_t(((qRed(c) & 0xF8) << 8) | ((qGreen(c) & 0xFC) << 3) | (qBlue(c) >> 3));
}

QImage decode(std::string_view type, std::string_view id) {
    auto bytes = platform::findResource(type, id);
    return QImage::fromData(bytes.data(), int(bytes.size()));
}

std::string nameOf(const Picture& p) {
    return std::string(p.type) + " " + p.id;
}

std::vector<Picture> keyedPictures() {
    std::vector<Picture> keyed;
    for (const Picture& p : everyPicture())
        if (p.key != Key::none) keyed.push_back(p);
    return keyed;
}

std::string testName(const ::testing::TestParamInfo<Picture>& info) {
    std::string id = info.param.id;
    for (char& c : id)
        if (c == '-') c = '_';
    return std::string(info.param.type) + "_" + id;
}

class Pictures : public ::testing::TestWithParam<Picture> {
  protected:
    static void SetUpTestSuite() {
        // Image format plug-ins (GIF) are found through the application object.
        static int argc = 1;
        static char name[] = "resources_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) static QGuiApplication app(argc, argv);
    }
};

TEST_P(Pictures, DecodesAtItsLayoutSize) {
    const Picture& p = GetParam();
    QImage image = decode(p.type, p.id);
    ASSERT_FALSE(image.isNull()) << nameOf(p);
    EXPECT_EQ(image.width(), p.width) << nameOf(p);
    EXPECT_EQ(image.height(), p.height) << nameOf(p);
    // A GIF transparency index would hand the key to the decoder, which then drops its colour.
    EXPECT_FALSE(image.hasAlphaChannel()) << nameOf(p);
}

using KeyedPictures = Pictures;

TEST_P(KeyedPictures, KeyColourIsExactWhereTransparent) {
    const Picture& p = GetParam();
    QImage image = decode(p.type, p.id).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(image.isNull());
    const QRgb key = keyColour(p.key);
    const std::uint16_t key565 = to565(key);

    // Every pixel that the screen would treat as transparent carries the key itself, so no
    // soft edge or shade turns into a hole by accident.
    int keyed = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QRgb c = image.pixel(x, y) & 0xFFFFFF;
            if (to565(c) != key565) continue;
            ASSERT_EQ(c, key & 0xFFFFFF) << nameOf(p) << " at " << x << "," << y;
            ++keyed;
        }

    // The margin round each button and arrow cell is see-through, the corners of the
    // vehicle too; the middle is drawn.
    const int w = image.width(), h = image.height();
    if (std::string(p.id) == "157") {
        EXPECT_EQ(to565(image.pixel(0, 0)), key565);
        EXPECT_EQ(to565(image.pixel(w - 1, 0)), key565);
    } else {
        for (int x = 0; x < w; ++x) {
            EXPECT_EQ(to565(image.pixel(x, 0)), key565) << nameOf(p) << " top, x " << x;
            EXPECT_EQ(to565(image.pixel(x, h - 1)), key565) << nameOf(p) << " bottom, x " << x;
        }
        for (int y = 0; y < h; ++y) {
            EXPECT_EQ(to565(image.pixel(0, y)), key565) << nameOf(p) << " left, y " << y;
            EXPECT_EQ(to565(image.pixel(w - 1, y)), key565) << nameOf(p) << " right, y " << y;
        }
    }
    EXPECT_NE(to565(image.pixel(w / 2, h / 2)), key565) << nameOf(p);
    EXPECT_LT(keyed, w * h / 2) << nameOf(p) << " is mostly transparent";
}

INSTANTIATE_TEST_SUITE_P(All, Pictures, ::testing::ValuesIn(everyPicture()), testName);
INSTANTIATE_TEST_SUITE_P(All, KeyedPictures, ::testing::ValuesIn(keyedPictures()), testName);

// The display code reads plain uncompressed bitmaps.
TEST(PictureFiles, BitmapsAre24BitUncompressed) {
    for (const char* id : {"133", "134", "135", "136", "139", "140", "141", "142", "143", "144",
                           "145", "188", "189"}) {
        auto bytes = platform::findResource("BITMAP", id);
        ASSERT_GE(bytes.size(), 54u) << id;
        EXPECT_EQ(bytes[0], 'B') << id;
        EXPECT_EQ(bytes[1], 'M') << id;
        EXPECT_EQ(bytes[28] | (bytes[29] << 8), 24) << id << " bits per pixel";
        EXPECT_EQ(bytes[30] | bytes[31] | bytes[32] | bytes[33], 0) << id << " compression";
    }
}

TEST(PictureFiles, TextureAndIconDecode) {
    QImage texture = decode("BITMAP", "133");
    ASSERT_FALSE(texture.isNull());
    EXPECT_GE(texture.width(), 16);
    EXPECT_GE(texture.height(), 16);

    QImage icon = decode("ICON", "101");
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.width(), icon.height());
    EXPECT_GE(icon.width(), 64);
}

TEST(PictureFiles, UnknownNamesFindNothing) {
    EXPECT_TRUE(platform::findResource("GIF", "999").empty());
    EXPECT_TRUE(platform::findResource("GIF", "133").empty());  // 133 is a bitmap
    EXPECT_TRUE(platform::findResource("image", "133").empty());
}

}  // namespace
