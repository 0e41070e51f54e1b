#include "platform/QtPlatform.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <string_view>

#include "platform/Resources.h"

namespace platform {

QtPlatform::QtPlatform(MainWindow::Dispatch dispatch)
    : window_(std::make_unique<MainWindow>(std::move(dispatch))),
      sound_(std::make_unique<AlsaSound>()) {}

QtPlatform::~QtPlatform() = default;

void QtPlatform::presentFrame(const std::uint16_t* pixels, int width, int height, int pitchBytes) {
    window_->showFrame(pixels, width, height, pitchBytes);
}

void QtPlatform::playSound(const char* name) {
    auto wave = findResource("WAVE", name);
    if (!wave.empty()) sound_->play(wave);
}

bool QtPlatform::chooseFile(FileDialogMode mode, std::string& path) {
    // Qt's own dialog, not the desktop's: it works on eglfs, linuxfb and offscreen as well.
    QFileDialog dialog(window_.get(), QString(), QString::fromStdString(path),
                       QStringLiteral("SHP (*.shp)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (mode == FileDialogMode::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // Asks before overwriting; a name typed without extension is used as typed.
    }
    dialog.setWindowState(Qt::WindowFullScreen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = dialog.selectedFiles().first().toStdString();
    return true;
}

void QtPlatform::messageBox(const char* text) {
    QMessageBox::warning(window_.get(), QStringLiteral("Sulcovane"), QString::fromUtf8(text));
}

void QtPlatform::postQuit(int exitCode) {
    QCoreApplication::exit(exitCode);
}

void QtPlatform::requestPaint() {
    window_->wakePaint();
}

void QtPlatform::raise() {
    window_->showNormal();
    window_->raise();
    window_->activateWindow();
}

void primaryScreenSize(int& width, int& height) {
    QScreen* screen = QGuiApplication::primaryScreen();
    QSize size = screen ? screen->size() : QSize(480, 640);
    width = size.width();
    height = size.height();
}

unsigned rotationFor(int width, int height) {
    return width > height ? 1u : 0u;
}

}  // namespace platform
