#include "Receiver.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

const std::string kGpssim = std::string(SULCO_BINARY_DIR) + "/gpssim";

bool waitForLink(const std::string& link, int tenthsOfSeconds) {
    for (int i = 0; i < tenthsOfSeconds; ++i) {
        if (access(link.c_str(), F_OK) == 0) return true;
        usleep(100000);
    }
    return false;
}

// ddmm.mmmm of a latitude or dddmm.mmmm of a longitude.
std::string degreesMinutes(double degrees, int degreeDigits) {
    const int whole = int(degrees);
    const double minutes = (degrees - whole) * 60.0;
    char text[32];
    std::snprintf(text, sizeof text, "%0*d%07.4f", degreeDigits, whole, minutes);
    return text;
}

constexpr double kCornerLat = 48.1173;
constexpr double kCornerLon = 11.5167;

std::string latitudeAt(double metresNorth) {
    return degreesMinutes(kCornerLat + metresNorth / 6378137.0 * 180.0 / M_PI, 2);
}

}  // namespace

bool SimulatedReceiver::plugIn(const std::vector<std::string>& options) {
    unplug();
    std::vector<std::string> args = {kGpssim, "--link", link_};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
        // A test that dies takes its receiver with it.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, 1);
        execv(kGpssim.c_str(), argv.data());
        _exit(127);
    }
    if (pid_ < 0) return false;
    return waitForLink(link_, 100);
}

void SimulatedReceiver::unplug() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    unlink(link_.c_str());
}

bool HandmadeReceiver::plugIn() {
    unplug();
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return false;
    const char* name = ptsname(master_);
    if (!name) return false;
    // Our own descriptor of the device side: the program may close and reopen it freely.
    device_ = open(name, O_RDWR | O_NOCTTY);
    if (device_ < 0) return false;
    termios line{};
    if (tcgetattr(device_, &line) == 0) {
        cfmakeraw(&line);
        tcsetattr(device_, TCSANOW, &line);
    }
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    unlink(link_.c_str());
    return symlink(name, link_.c_str()) == 0;
}

void HandmadeReceiver::unplug() {
    if (master_ < 0) return;
    unlink(link_.c_str());
    if (device_ >= 0) close(device_);
    close(master_);
    master_ = device_ = -1;
}

void HandmadeReceiver::send(const std::string& bytes) {
    std::size_t done = 0;
    while (master_ >= 0 && done < bytes.size()) {
        const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return;  // nobody reads: the rest is dropped, as a real line drops it
        done += std::size_t(n);
    }
}

std::string ggaAt(double metresNorth, int quality, int satellites, double hdop) {
    char body[160];
    std::snprintf(body, sizeof body, "GPGGA,120000.00,%s,N,%s,E,%d,%02d,%.1f,520.0,M,47.0,M,,",
                  latitudeAt(metresNorth).c_str(), degreesMinutes(kCornerLon, 3).c_str(), quality,
                  satellites, hdop);
    return nmeatest::sentence(body);
}

std::string rmcAt(double metresNorth, double knots) {
    char body[160];
    std::snprintf(body, sizeof body, "GPRMC,120000.00,A,%s,N,%s,E,%.1f,0.0,010524,,,A",
                  latitudeAt(metresNorth).c_str(), degreesMinutes(kCornerLon, 3).c_str(), knots);
    return nmeatest::sentence(body);
}
