#include "app/Corrections.h"

#include <mutex>
#include <optional>

#include "app/BackgroundWrites.h"
#include "app/CorrectionsConfig.h"
#include "app/GpsControl.h"
#include "app/Texts.h"
#include "corrections/GgaSentence.h"
#include "corrections/RtkFixWatch.h"
#include "platform/Platform.h"

namespace {

SteadyClock steadyClock;

std::mutex fixLock;
GPS_POSITION lastFix{};
bool haveFix = false;

std::mutex settingsLock;
std::optional<NtripSettings> commandLine;
// The file's settings, read once: the receiver link starts from the user-interface thread,
// which does not wait on the disk for them each time.
std::optional<NtripSettings> fileSettings;

RtkFixWatch rtkWatch;  // the user-interface thread's, as it draws

std::int32_t writeToReceiver(const std::uint8_t* bytes, std::uint32_t length) {
    return SatlinkerWrite(bytes, length);
}

}  // namespace

NtripClient& correctionsClient() {
    static NtripClient client(steadyClock, writeToReceiver, positionForCaster);
    return client;
}

void rememberFixForCaster(const GPS_POSITION& fix) {
    std::lock_guard<std::mutex> lock(fixLock);
    lastFix = fix;
    haveFix = true;
}

std::string positionForCaster() {
    GPS_POSITION fix;
    {
        std::lock_guard<std::mutex> lock(fixLock);
        if (!haveFix) return {};
        fix = lastFix;
    }
    // A receiver without a fix reports quality 0: no position to send.
    if (fix.fixQuality == 0) return {};
    return ggaSentence(fix);
}

bool lastFixPosition(double& latitude, double& longitude) {
    std::lock_guard<std::mutex> lock(fixLock);
    if (!haveFix || lastFix.fixQuality == 0) return false;
    latitude = lastFix.latitude;
    longitude = lastFix.longitude;
    return true;
}

void setCorrectionsOverride(const NtripSettings& fromCommandLine) {
    std::lock_guard<std::mutex> lock(settingsLock);
    commandLine = fromCommandLine;
}

void clearCorrectionsOverride() {
    std::lock_guard<std::mutex> lock(settingsLock);
    commandLine.reset();
}

void reloadCorrectionsSettings() {
    NtripSettings s = loadCorrectionsConfig();
    std::lock_guard<std::mutex> lock(settingsLock);
    fileSettings = s;
}

NtripSettings correctionsSettings() {
    std::unique_lock<std::mutex> lock(settingsLock);
    if (!fileSettings) {
        lock.unlock();
        reloadCorrectionsSettings();
        lock.lock();
    }
    NtripSettings s = *fileSettings;
    if (commandLine) {
        s.on = true;
        s.caster = commandLine->caster;
        s.port = commandLine->port;
        s.mountpoint = commandLine->mountpoint;
        s.user = commandLine->user;
        s.password = commandLine->password;
    }
    return s;
}

void applyCorrectionsSettings(const NtripSettings& settings) {
    writeInBackground([settings] { return saveCorrectionsConfig(settings); });
    {
        // The driver's choice on the page now wins over the command line's.
        std::lock_guard<std::mutex> lock(settingsLock);
        commandLine.reset();
        fileSettings = settings;
    }
    NtripClient& client = correctionsClient();
    if (!settings.on) {
        client.stop();
        return;
    }
    // OK on the page is the driver's say-so to try again, even with the same settings.
    if (client.health().state == LinkState::kHalted) client.stop();
    // Only a running link takes corrections; a stopped one starts them with itself.
    if (isGpsRunning()) client.start(correctionsSettings());
}

void startCorrections() {
    correctionsClient().start(correctionsSettings());
}

void stopCorrections() {
    correctionsClient().stop();
}

void watchRtkFix(int fixQuality) {
    if (rtkWatch.update(fixQuality, steadyClock.now())) platform::current().playSound("SONIDORTK");
}

CorrectionsView correctionsView(int fixQuality) {
    CorrectionsView view;
    switch (fixQuality) {
        case 4:
            view.fixType = "RTK";
            break;
        case 5:
            view.fixType = "Float";
            break;
        case 2:
            view.fixType = "DGPS";
            break;
        case 1:
            view.fixType = "GPS";
            break;
        default:
            break;
    }
    const CorrectionHealth h = correctionsClient().health();
    const bool on = h.state != LinkState::kOff;
    view.shown = on || fixQuality == 2 || fixQuality == 4 || fixQuality == 5;
    if (on && h.correctionAge) view.ageSeconds = int(h.correctionAge->count() / 1000);
    if (rtkWatch.warning()) {
        view.messageId = kMsgRtkLost;
    } else if (on && h.state != LinkState::kStreaming) {
        switch (h.problem) {
            case LinkProblem::kBadLogin:
                view.messageId = kMsgCorrectionsLogin;
                break;
            case LinkProblem::kUnknownMountpoint:
                view.messageId = kMsgCorrectionsMountpoint;
                break;
            case LinkProblem::kNameNotResolved:
                view.messageId = kMsgCorrectionsName;
                break;
            case LinkProblem::kConnectionRefused:
                view.messageId = kMsgCorrectionsRefused;
                break;
            case LinkProblem::kTimeout:
                view.messageId = kMsgCorrectionsTimeout;
                break;
            case LinkProblem::kBadReply:
            case LinkProblem::kNoData:
            case LinkProblem::kDropped:
                view.messageId = kMsgCorrectionsNoData;
                break;
            case LinkProblem::kNone:
                break;
        }
    }
    return view;
}
