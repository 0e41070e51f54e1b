// The program's one window: no child controls, it shows the presented RGB565 frame 1:1 and
// turns presses, keys and closing into the messages of the screen state machine.
#pragma once

#include <QImage>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace platform {

class MainWindow : public QWidget {
  public:
    // dispatch receives (message, wParam, lParam) as the window procedure takes them.
    using Dispatch = std::function<void(std::uint32_t, std::uintptr_t, std::intptr_t)>;
    explicit MainWindow(Dispatch dispatch);
    ~MainWindow() override;

    // Any thread: keeps a copy of the frame and schedules a repaint when it changed.
    void showFrame(const std::uint16_t* pixels, int width, int height, int pitchBytes);
    // Any thread: a paint message soon, without waiting for the next refresh.
    void wakePaint();
    QImage frameCopy() const;

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent*) override;
    void hideEvent(QHideEvent*) override;

  private:
    void deliverPaint();
    // Wakes the user-interface thread from any thread; it then answers the raised flags.
    void knock();
    void answerKnock();
    // Back to one paint message per display refresh: input may change the screen.
    void refreshFully();

    Dispatch dispatch_;
    QTimer refresh_;
    int stillPaints_ = 0;                    // paint messages in a row that changed no frame
    std::atomic<bool> frameChanged_{false};  // a changed frame since the last paint message
    mutable std::mutex frameMutex_;
    QImage frame_;                            // the presented frame, RGB565
    QImage screen_;                           // the same, widened for painting
    std::atomic<bool> wakeQueued_{false};     // a paint message is asked for
    std::atomic<bool> repaintQueued_{false};  // the window must show a changed frame
    int knockFd_ = -1;
    std::unique_ptr<QSocketNotifier> knockNotifier_;
};

}  // namespace platform
