#include "GoldenImage.h"

#include <QFile>
#include <QImage>
#include <cstdlib>
#include <cstring>

namespace {

const std::string kGoldenDir = SULCO_SOURCE_DIR "/tests/workscreen/golden/";

QImage toImage(const gfx::Surface& frame) {
    QImage image(frame.width(), frame.height(), QImage::Format_RGB16);
    for (int y = 0; y < frame.height(); ++y) {
        std::memcpy(image.scanLine(y), frame.row(y), std::size_t(frame.width()) * 2);
    }
    return image;
}

bool save(const QImage& image, const std::string& path) {
    return image.save(QString::fromStdString(path), "PNG");
}

// The golden dimmed to a quarter, with every differing pixel in full red.
QImage diffImage(const QImage& golden, const QImage& actual, long& differing) {
    QImage diff(actual.size(), QImage::Format_RGB32);
    differing = 0;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const bool inside = x < golden.width() && y < golden.height();
            const QRgb g = inside ? golden.pixel(x, y) : qRgb(0, 0, 0);
            if (inside && g == actual.pixel(x, y)) {
                diff.setPixel(x, y, qRgb(qRed(g) / 4, qGreen(g) / 4, qBlue(g) / 4));
            } else {
                diff.setPixel(x, y, qRgb(255, 0, 0));
                ++differing;
            }
        }
    }
    return diff;
}

}  // namespace

::testing::AssertionResult matchesGolden(const std::string& name, const gfx::Surface& frame) {
    const std::string path = kGoldenDir + name + ".png";
    const QImage actual = toImage(frame);
    const char* update = std::getenv("SULCO_UPDATE_GOLDEN");
    if (update && *update && *update != '0') {
        if (!save(actual, path)) return ::testing::AssertionFailure() << "cannot write " << path;
        return ::testing::AssertionSuccess() << "rewrote " << path;
    }
    if (!QFile::exists(QString::fromStdString(path))) {
        if (!save(actual, path)) return ::testing::AssertionFailure() << "cannot write " << path;
        return ::testing::AssertionFailure()
               << "no reference yet: recorded " << path << "; look at it, then commit it";
    }
    const QImage golden =
        QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB16);
    bool same = golden.size() == actual.size();
    for (int y = 0; same && y < actual.height(); ++y) {
        same = std::memcmp(golden.constScanLine(y), actual.constScanLine(y),
                           std::size_t(actual.width()) * 2) == 0;
    }
    if (same) return ::testing::AssertionSuccess();
    long differing = 0;
    const QImage diff = diffImage(golden.convertToFormat(QImage::Format_RGB32),
                                  actual.convertToFormat(QImage::Format_RGB32), differing);
    save(actual, kGoldenDir + name + ".actual.png");
    save(diff, kGoldenDir + name + ".diff.png");
    return ::testing::AssertionFailure()
           << name << ": " << differing << " pixels differ from the reference; see " << kGoldenDir
           << name << ".actual.png and .diff.png";
}
