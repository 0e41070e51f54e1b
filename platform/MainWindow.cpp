#include "platform/MainWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cstring>

#include <sys/eventfd.h>
#include <unistd.h>

#include "platform/WindowMessage.h"

namespace platform {

namespace {
// RGB565 to the window's 32-bit format, each channel's top bits repeated into its low bits.
// Done here, row by row as frames change, so that painting never converts (Qt would convert on
// worker threads of its own).
std::uint32_t widen(std::uint32_t p) {
    std::uint32_t r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
    r = (r << 3) | (r >> 2);
    g = (g << 2) | (g >> 4);
    b = (b << 3) | (b >> 2);
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

// In blocks of 16 pixels, which the compiler turns into vector instructions: a 1920-pixel row
// costs a fraction of what one pixel at a time does.
void widenRow(const std::uint16_t* from, std::uint32_t* to, int width) {
    constexpr int kBlock = 16;
    int x = 0;
    for (; x + kBlock <= width; x += kBlock)
        for (int i = 0; i < kBlock; ++i) to[x + i] = widen(from[x + i]);
    for (; x < width; ++x) to[x] = widen(from[x]);
}
}  // namespace

namespace {
// One display refresh; and the pace of a screen that stands still (the start screen, a
// question), which is drawn again unchanged at every paint message.
constexpr int kRefreshMs = 16;
constexpr int kStillRefreshMs = 100;
// Half a second of paint messages without a changed frame makes a screen still.
constexpr int kPaintsUntilStill = 30;
}  // namespace

MainWindow::MainWindow(Dispatch dispatch) : dispatch_(std::move(dispatch)) {
    setWindowTitle(QStringLiteral("Sulcovane"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    // One paint message per display refresh while the window is visible: the live work
    // screen's frame loop, without the handheld's busy loop.
    refresh_.setInterval(kRefreshMs);
    refresh_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&refresh_, &QTimer::timeout, this, [this] { deliverPaint(); });
    knockFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    knockNotifier_ = std::make_unique<QSocketNotifier>(knockFd_, QSocketNotifier::Read);
    QObject::connect(knockNotifier_.get(), &QSocketNotifier::activated, this,
                     [this] { answerKnock(); });
}

MainWindow::~MainWindow() {
    knockNotifier_.reset();
    if (knockFd_ >= 0) ::close(knockFd_);
}

void MainWindow::showFrame(const std::uint16_t* pixels, int width, int height, int pitchBytes) {
    bool changed = false;
    {
        std::lock_guard lock(frameMutex_);
        if (frame_.width() != width || frame_.height() != height) {
            frame_ = QImage(width, height, QImage::Format_RGB16);
            screen_ = QImage(width, height, QImage::Format_RGB32);
            changed = true;
        }
        const auto* row = reinterpret_cast<const unsigned char*>(pixels);
        const std::size_t bytes = std::size_t(width) * 2;
        for (int y = 0; y < height; ++y, row += pitchBytes) {
            uchar* line = frame_.scanLine(y);
            // A frame that repeats the last one costs no repaint: the start screen stands still.
            if (!changed && std::memcmp(line, row, bytes) == 0) continue;
            std::memcpy(line, row, bytes);
            widenRow(reinterpret_cast<const std::uint16_t*>(row),
                     reinterpret_cast<std::uint32_t*>(screen_.scanLine(y)), width);
            changed = true;
        }
    }
    if (!changed) return;
    frameChanged_ = true;
    if (!repaintQueued_.exchange(true)) knock();
}

void MainWindow::wakePaint() {
    if (!wakeQueued_.exchange(true)) knock();
}

void MainWindow::knock() {
    // Other threads only raise a flag and knock: nothing of theirs crosses into Qt's queue.
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(knockFd_, &one, sizeof one);
}

void MainWindow::answerKnock() {
    std::uint64_t count = 0;
    [[maybe_unused]] ssize_t n = ::read(knockFd_, &count, sizeof count);
    if (repaintQueued_.exchange(false)) update();
    if (wakeQueued_.exchange(false)) deliverPaint();
}

QImage MainWindow::frameCopy() const {
    std::lock_guard lock(frameMutex_);
    return frame_.copy();
}

void MainWindow::deliverPaint() {
    if (!isVisible()) return;
    dispatch_(kMsgPaint, 0, 0);
    // A still screen costs a whole redraw at every refresh for nothing: it is paced down until
    // a frame changes, a fix wakes the window (that is a paint message too) or input comes.
    if (frameChanged_.exchange(false))
        stillPaints_ = 0;
    else if (stillPaints_ < kPaintsUntilStill)
        ++stillPaints_;
    const int wanted = stillPaints_ >= kPaintsUntilStill ? kStillRefreshMs : kRefreshMs;
    if (refresh_.interval() != wanted) refresh_.setInterval(wanted);
}

void MainWindow::refreshFully() {
    stillPaints_ = 0;
    if (refresh_.interval() != kRefreshMs) refresh_.setInterval(kRefreshMs);
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    std::lock_guard lock(frameMutex_);
    painter.fillRect(rect(), Qt::black);
    if (!screen_.isNull()) painter.drawImage(0, 0, screen_);
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    refreshFully();
    // A touch press reaches here too: Qt turns unhandled touches into mouse presses.
    QPoint p = event->position().toPoint();
    dispatch_(kMsgPenDown, 0, std::intptr_t(packPenPosition(p.x(), p.y())));
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    refreshFully();
    // Ctrl+A and Ctrl+Q are the handheld's accelerators: consumed, without effect.
    if (event->modifiers() & Qt::ControlModifier) {
        if (event->key() == Qt::Key_A || event->key() == Qt::Key_Q) return;
    }
    const QString text = event->text();
    if (text.size() == 1 && text[0].unicode() < 256 && !text[0].isNull())
        dispatch_(kMsgChar, std::uintptr_t(text[0].unicode()), 0);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The window manager's close takes the same orderly way as Exit and Yes.
    event->ignore();
    dispatch_(kMsgDestroy, 0, 0);
}

void MainWindow::showEvent(QShowEvent*) {
    refreshFully();
    refresh_.start();
}
void MainWindow::hideEvent(QHideEvent*) {
    refresh_.stop();
}

}  // namespace platform
