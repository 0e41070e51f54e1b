// Writes a picture of every settings page, in portrait and landscape, on a 240 x 320 and a
// 480 x 640 screen: settings_screens <folder>.
#include <QApplication>
#include <QDir>
#include <QLayout>
#include <QTabBar>
#include <QTabWidget>
#include <clocale>
#include <cstdio>

#include "app/AppState.h"
#include "settings/ColorChooser.h"
#include "settings/SettingsPage.h"
#include "settings/SheetDialog.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);
    const struct {
        int width, height;
        std::uint32_t orientation;
    } screens[] = {{240, 320, 0}, {320, 240, 1}, {480, 640, 0}, {640, 480, 1}};
    appState.settings.gpsPort = 3;
    appState.settings.gpsBaudIndex = 4;
    appState.ui.language = argc > 2 ? std::uint8_t(std::atoi(argv[2])) : 0;
    int written = 0;
    for (const auto& s : screens) {
        appState.layout.screenWidth = std::uint16_t(s.width);
        appState.layout.screenHeight = std::uint16_t(s.height);
        appState.layout.orientation = s.orientation;
        appState.ui.screenState = kStateStart;
        auto* sheet = new SheetDialog;
        sheet->placeOnScreen();
        for (int i = 0; i < sheet->pageCount(); ++i) {
            sheet->tabs()->setCurrentIndex(i);
            QApplication::processEvents();
            SettingsPage* page = sheet->page(i);
            QString name = page->title().toLower().replace(' ', '-');
            const QString file = QString("%1/settings-%2-%3-%4x%5.png")
                                     .arg(folder)
                                     .arg(page->templateId())
                                     .arg(name)
                                     .arg(s.width)
                                     .arg(s.height);
            if (sheet->grab().save(file)) ++written;
        }
        auto* chooser = new ColorChooserFrame(sheet->page(1), QColor(0xFB, 0xEF, 0x84));
        chooser->show();
        QApplication::processEvents();
        const QString file =
            QString("%1/settings-colour-chooser-%2x%3.png").arg(folder).arg(s.width).arg(s.height);
        if (chooser->grab().save(file)) ++written;
        delete sheet;
    }
    std::printf("%d pictures written to %s\n", written, qPrintable(folder));
    return written > 0 ? 0 : 1;
}
