#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <memory>

#include "gfx/ImageLoader.h"

namespace {

// A 2 x 2 GIF of four colours: red, green, blue and (0x12, 0x34, 0x56).
const std::uint8_t kGif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x02, 0x00, 0x02, 0x00, 0x81,
                             0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF,
                             0x12, 0x34, 0x56, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x02,
                             0x00, 0x00, 0x02, 0x04, 0x04, 0x43, 0x71, 0x05, 0x00, 0x3B};

// Decoding runs without any Qt application object, as in the program's tests and tools.
TEST(DecodeImageBytes, GifIsReducedToRgb565) {
    std::unique_ptr<gfx::Surface> s(gfx::DecodeImageBytes(kGif, kGif + sizeof kGif));
    ASSERT_TRUE(s) << "the GIF image plugin did not load";
    EXPECT_EQ(s->width(), 2);
    EXPECT_EQ(s->height(), 2);
    EXPECT_EQ(s->colourKey, -1);
    EXPECT_EQ(s->pixel(0, 0), 0xF800);
    EXPECT_EQ(s->pixel(1, 0), 0x07E0);
    EXPECT_EQ(s->pixel(0, 1), 0x001F);
    EXPECT_EQ(s->pixel(1, 1), 0x11AA);  // top bits kept: 0x12 -> 2, 0x34 -> 13, 0x56 -> 10
}

TEST(DecodeImageBytes, BmpKeepsSizeAndTopBits) {
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(0xFF, 0xFF, 0xFF));
    image.setPixel(0, 0, qRgb(0x07, 0x03, 0x07));  // below the resolution of every channel
    image.setPixel(2, 1, qRgb(0xF8, 0xFC, 0xF8));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "BMP"));
    auto* first = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    std::unique_ptr<gfx::Surface> s(gfx::DecodeImageBytes(first, first + bytes.size()));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->width(), 3);
    EXPECT_EQ(s->height(), 2);
    EXPECT_EQ(s->pixel(0, 0), 0x0000);
    EXPECT_EQ(s->pixel(1, 0), 0xFFFF);
    EXPECT_EQ(s->pixel(2, 1), 0xFFFF);
}

TEST(DecodeImageBytes, FailuresGiveNull) {
    const std::uint8_t junk[] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(gfx::DecodeImageBytes(junk, junk + sizeof junk), nullptr);
    EXPECT_EQ(gfx::DecodeImageBytes(kGif, kGif + 20), nullptr);  // cut short
    EXPECT_EQ(gfx::DecodeImageBytes(kGif, kGif), nullptr);
    EXPECT_EQ(gfx::DecodeImageBytes(nullptr, nullptr), nullptr);
}

TEST(LoadImageResource, UnknownIdentifiersGiveNull) {
    EXPECT_EQ(gfx::LoadImageResource(987654, "image"), nullptr);
    EXPECT_EQ(gfx::LoadImageResource(987654, gfx::kBitmapType), nullptr);
    EXPECT_EQ(gfx::LoadGifResource(987654), nullptr);
}

}  // namespace
