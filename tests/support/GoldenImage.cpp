#include "tests/support/GoldenImage.h"

#include <QImage>
#include <QString>
#include <cstdlib>
#include <filesystem>

namespace testsupport {
namespace {

namespace fs = std::filesystem;

// The surface as 8-bit RGB; the widening is the one the references were written with.
QImage toImage(const gfx::Surface& frame) {
    QImage image(frame.width(), frame.height(), QImage::Format_RGB32);
    for (int y = 0; y < frame.height(); ++y) {
        const gfx::Pixel* in = frame.row(y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < frame.width(); ++x) {
            const int r = (in[x] >> 11) & 31, g = (in[x] >> 5) & 63, b = in[x] & 31;
            out[x] = qRgb((r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2));
        }
    }
    return image;
}

bool save(const QImage& image, const fs::path& path) {
    fs::create_directories(path.parent_path());
    return image.save(QString::fromStdString(path.string()));
}

// The reference dimmed to a quarter, with every differing pixel in full red.
QImage diffImage(const QImage& reference, const QImage& actual, long& differing) {
    QImage diff(actual.size(), QImage::Format_RGB32);
    differing = 0;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const bool inside = x < reference.width() && y < reference.height();
            const QRgb g = inside ? reference.pixel(x, y) : qRgb(0, 0, 0);
            if (inside && qRgb(qRed(g), qGreen(g), qBlue(g)) == actual.pixel(x, y)) {
                diff.setPixel(x, y, qRgb(qRed(g) / 4, qGreen(g) / 4, qBlue(g) / 4));
            } else {
                diff.setPixel(x, y, qRgb(255, 0, 0));
                ++differing;
            }
        }
    }
    return diff;
}

bool samePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return false;
    for (int y = 0; y < a.height(); ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if ((p[x] & 0xFFFFFF) != (q[x] & 0xFFFFFF)) return false;
    }
    return true;
}

}  // namespace

::testing::AssertionResult matchesGolden(const gfx::Surface& frame, const std::string& reference) {
    const fs::path path = fs::path(SULCO_SOURCE_DIR) / reference;
    // golden-diffs/<folder>/ for tests/<folder>/golden/<name>.
    const fs::path folder = fs::path(reference).parent_path().parent_path().filename();
    const fs::path out = fs::path(SULCO_BINARY_DIR) / "golden-diffs" / folder;
    const std::string stem = path.stem().string();
    const fs::path actualPath = out / (stem + ".actual" + path.extension().string());
    const QImage actual = toImage(frame);
    const char* update = std::getenv("SULCO_UPDATE_GOLDEN");
    if (update && *update && *update != '0') {
        if (!save(actual, path)) return ::testing::AssertionFailure() << "cannot write " << path;
        return ::testing::AssertionSuccess() << "rewrote " << path;
    }
    if (!fs::exists(path)) {
        save(actual, actualPath);
        return ::testing::AssertionFailure()
               << "no reference " << path << " yet: the actual picture is " << actualPath
               << "; look at it, then copy it there";
    }
    const QImage golden = QImage(QString::fromStdString(path.string()));
    if (golden.isNull()) return ::testing::AssertionFailure() << "cannot read " << path;
    const QImage expected = golden.convertToFormat(QImage::Format_RGB32);
    if (samePixels(expected, actual)) return ::testing::AssertionSuccess();
    long differing = 0;
    const QImage diff = diffImage(expected, actual, differing);
    const fs::path diffPath = out / (stem + ".diff.png");
    save(actual, actualPath);
    save(diff, diffPath);
    return ::testing::AssertionFailure()
           << stem << ": " << differing << " pixels differ from " << path << " ("
           << expected.width() << " x " << expected.height() << " against " << actual.width()
           << " x " << actual.height() << "); actual: " << actualPath
           << ", difference: " << diffPath;
}

}  // namespace testsupport
