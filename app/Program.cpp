#include "app/Program.h"

#include <time.h>
#include <unistd.h>

#include <atomic>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSessionManager>

#include "app/AppState.h"
#include "app/CommandLine.h"
#include "app/Conversions.h"
#include "app/Corrections.h"
#include "app/GpsControl.h"
#include "app/Lifecycle.h"
#include "app/SettingsFile.h"
#include "app/Simulator.h"
#include "app/Texts.h"
#include "app/WindowProc.h"
#include "corrections/NtripUrl.h"
#include "gfx/Display.h"
#include "guidance/Projection.h"
#include "journal/WorkJournal.h"
#include "platform/QtPlatform.h"
#include "platform/Resources.h"
#include "platform/SignalBridge.h"
#include "platform/SingleInstance.h"

namespace {

// What the Qt start-up steps need from the command line.
struct WindowRequest {
    int width = 0;
    int height = 0;
    int orientation = -1;  // -1: from the window's shape
};
WindowRequest request;
platform::QtPlatform* qtPlatform = nullptr;
std::unique_ptr<platform::QtPlatform> ownPlatform;
std::unique_ptr<Simulator> simulator;
bool simulatorFailedToStart = false;
platform::SingleInstance singleInstance;

bool simulatorFailed() {
    return simulatorFailedToStart;
}

// Milliseconds since the kernel started this process, loading of the libraries included.
double msSinceProcessStart() {
    std::ifstream file("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The fields after the command name, which may hold spaces, start at the state (field 3);
    // the start time is field 22, in clock ticks since boot.
    std::size_t at = stat.rfind(')');
    if (at == std::string::npos) return -1.0;
    const char* field = stat.c_str() + at + 2;
    for (int n = 3; n < 22 && field; ++n) {
        field = std::strchr(field, ' ');
        if (field) ++field;
    }
    if (!field) return -1.0;
    double startedMs = std::strtod(field, nullptr) * 1000.0 / double(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6 - startedMs;
}

// With SULCOVANE_REPORT_FIRST_FRAME=1 in the environment (the start-up benchmark sets it), the
// program writes "first-frame <ms since the process started>" to stderr once the first frame
// of the start screen has gone to the window. Off otherwise.
void reportFirstStartFrame() {
    static const bool wanted = [] {
        const char* value = std::getenv("SULCOVANE_REPORT_FIRST_FRAME");
        return value && std::strcmp(value, "1") == 0;
    }();
    static std::atomic<bool> reported{false};
    if (!wanted || appState.ui.screenState != kStateStart || reported.exchange(true)) return;
    std::fprintf(stderr, "first-frame %.1f\n", msSinceProcessStart());
    std::fflush(stderr);
}

void presentToPlatform(const std::uint16_t* pixels, int width, int height, int pitchBytes) {
    platform::current().presentFrame(pixels, width, height, pitchBytes);
    reportFirstStartFrame();
}

bool createQtWindow() {
    int w = request.width, h = request.height;
    if (w == 0 || h == 0) platform::primaryScreenSize(w, h);
    platform::MainWindow& window = qtPlatform->window();
    window.setFixedSize(w, h);
    auto icon = platform::findResource("ICON", "101");
    if (!icon.empty()) {
        QImage image = QImage::fromData(icon.data(), int(icon.size()));
        if (!image.isNull()) window.setWindowIcon(QIcon(QPixmap::fromImage(image)));
    }
    appState.layout.screenWidth = std::uint16_t(w);
    appState.layout.screenHeight = std::uint16_t(h);
    return true;
}

unsigned qtRotation() {
    // An explicit orientation answers with the code that maps back to it (270 degrees is 4).
    if (request.orientation >= 0)
        return request.orientation == 3 ? 4u : unsigned(request.orientation);
    return platform::rotationFor(appState.layout.screenWidth, appState.layout.screenHeight);
}

void showQtWindow() {
    platform::MainWindow& window = qtPlatform->window();
    if (request.width == 0) {
        window.showFullScreen();
    } else {
        window.show();
    }
}

int runConversions(const CommandLine& line) {
    findModuleDir();
    if (!line.kmlFiles.empty()) {
        loadSettings();  // the track colour of the KML comes from the settings
        return runKmlConversion(line.kmlFiles);
    }
    loadSettings();
    if (!line.importFields.empty()) return runFieldImport(line.importFields, line.nameField);
    if (!line.exportField.empty()) return runFieldExport(line.exportField, line.exportTo);
    configureGeodesyData(appState.projection, appState.layout.moduleDir);
    int code = runNmeaImport(line.importNmea, line.savePath, line.implementWidthMetres,
                             line.nmeaField, line.sectionCount);
    releaseProjection(appState.projection);
    return code;
}

}  // namespace

bool openProgram(const CommandLine& line) {
    findModuleDir();
    appState.ui.language = std::uint8_t(chooseLanguage(line.language));
    request.width = line.width;
    request.height = line.height;
    request.orientation = line.orientation.value_or(-1);

    if (line.simulate) {
        simulator = std::make_unique<Simulator>();
        if (!simulator->start()) {
            std::fprintf(stderr, "sulcomain: the receiver simulator did not start\n");
            simulator.reset();
            simulatorFailedToStart = true;
            return false;
        }
        setGpsDeviceOverride(simulator->devicePath().c_str());
    } else if (!line.gpsDevice.empty()) {
        setGpsDeviceOverride(line.gpsDevice.c_str());
    }
    reloadCorrectionsSettings();
    if (!line.ntrip.empty()) {
        NtripSettings ntrip;
        std::string checkedAlready;
        if (parseNtripUrl(line.ntrip, ntrip, checkedAlready)) setCorrectionsOverride(ntrip);
    }

    ownPlatform = std::make_unique<platform::QtPlatform>(
        [](std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
            windowProc(message, wParam, lParam);
        });
    qtPlatform = ownPlatform.get();
    platform::install(qtPlatform);
    gfx::setPresentHook(presentToPlatform);

    journalSetEnabled(true, settingsFolder);
    LifecycleCalls& calls = lifecycleCalls();
    calls.claimSingleInstance = [] { return singleInstance.claim(); };
    calls.createMainWindow = createQtWindow;
    calls.queryRotation = qtRotation;
    calls.windowHandle = []() -> void* { return &qtPlatform->window(); };
    calls.showMainWindow = showQtWindow;
    singleInstance.onRaiseRequest([] { qtPlatform->raise(); });

    if (!initInstance()) {
        closeProgram(false);
        return false;
    }
    platform::installTerminationSignals([] { windowProc(kMsgDestroy, 0, 0); });
    return true;
}

void closeProgram(bool started) {
    platform::removeTerminationSignals();
    if (started) shutDown();
    journalSetEnabled(false);
    gfx::setPresentHook(nullptr);
    platform::install(nullptr);
    qtPlatform = nullptr;
    ownPlatform.reset();
    simulator.reset();
    setGpsDeviceOverride("");
    clearCorrectionsOverride();
}

platform::QtPlatform* programPlatform() {
    return qtPlatform;
}

int start(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine line;
    std::string error;
    if (!parseCommandLine(args, line, error)) {
        std::fprintf(stderr, "sulcomain: %s\n\n%s", error.c_str(), usageText());
        return 2;
    }
    if (line.help) {
        std::fputs(usageText(), stdout);
        return 0;
    }
    if (line.version) {
        std::puts("Sulcovane Version 3.2");
        return 0;
    }
    if (!line.kmlFiles.empty() || !line.importNmea.empty() || !line.importFields.empty() ||
        !line.exportField.empty())
        return runConversions(line);

    QApplication application(argc, argv);
    // Qt has set the C library's locale from the environment: numbers must stay "4807.038".
    std::setlocale(LC_NUMERIC, "C");
    application.setApplicationName(QStringLiteral("Sulcovane"));
    // A desktop logout: the work's records reach the disk before the session asks the window to
    // close, which then takes the orderly way out.
    QObject::connect(&application, &QGuiApplication::commitDataRequest,
                     [](QSessionManager&) { journalFlush(); });
    if (!openProgram(line)) return simulatorFailed() ? 1 : 0;
    int code = application.exec();
    closeProgram(true);
    return code;
}
