#include "app/CommandLine.h"

#include <cerrno>
#include <cstdlib>
#include <set>

#include "corrections/NtripUrl.h"

namespace {

// Qt's own options that take a value; the window system reads them itself.
const std::set<std::string> kQtOptionsWithValue = {
    "platform",     "platformpluginpath", "platformtheme", "plugin",        "qwindowgeometry",
    "qwindowtitle", "qwindowicon",        "display",       "geometry",      "title",
    "style",        "stylesheet",         "session",       "qmljsdebugger", "widgetcount",
    "fontengine"};
const std::set<std::string> kQtFlags = {"reverse", "nograb", "dograb", "sync", "visual"};

bool parseInt(const std::string& text, int& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < -100000 || v > 100000) return false;
    value = int(v);
    return true;
}

bool parseSize(const std::string& text, int& w, int& h) {
    auto x = text.find('x');
    if (x == std::string::npos) return false;
    return parseInt(text.substr(0, x), w) && parseInt(text.substr(x + 1), h) && w >= 100 &&
           h >= 100 && w <= 8192 && h <= 8192;
}

}  // namespace

bool parseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        std::string v;
        if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (arg == "--version") {
            out.version = true;
        } else if (arg == "--simulate") {
            out.simulate = true;
        } else if (arg == "--size") {
            if (!value(v)) return false;
            if (!parseSize(v, out.width, out.height)) {
                error = "--size wants WIDTHxHEIGHT, for example 480x640, not '" + v + "'";
                return false;
            }
        } else if (arg == "--orientation") {
            if (!value(v)) return false;
            int n = 0;
            if (!parseInt(v, n) || n < 0 || n > 3) {
                error = "--orientation wants 0, 1, 2 or 3, not '" + v + "'";
                return false;
            }
            out.orientation = n;
        } else if (arg == "--gps-device") {
            if (!value(out.gpsDevice)) return false;
        } else if (arg == "--ntrip") {
            if (!value(out.ntrip)) return false;
            NtripSettings ignored;
            std::string why;
            if (!parseNtripUrl(out.ntrip, ignored, why)) {
                error = "--ntrip: " + why;
                return false;
            }
        } else if (arg == "--language") {
            if (!value(v)) return false;
            if (v != "en" && v != "es" && v != "de" && v != "ru") {
                error = "--language wants en, es, de or ru, not '" + v + "'";
                return false;
            }
            out.language = v;
        } else if (arg == "--kml") {
            while (i + 1 < args.size() && args[i + 1].rfind("-", 0) != 0)
                out.kmlFiles.push_back(args[++i]);
            if (out.kmlFiles.empty()) {
                error = "--kml needs at least one WORK.shp";
                return false;
            }
        } else if (arg == "--import-nmea") {
            if (!value(out.importNmea)) return false;
        } else if (arg == "--save") {
            if (!value(out.savePath)) return false;
        } else if (arg == "--field") {
            if (!value(out.nmeaField)) return false;
        } else if (arg == "--import-fields") {
            if (!value(out.importFields)) return false;
        } else if (arg == "--name-field") {
            if (!value(out.nameField)) return false;
        } else if (arg == "--export-field") {
            if (!value(out.exportField)) return false;
        } else if (arg == "--to") {
            if (!value(out.exportTo)) return false;
        } else if (arg == "--width") {
            if (!value(v)) return false;
            char* end = nullptr;
            double m = std::strtod(v.c_str(), &end);
            if (*end != '\0' || !(m > 0.0) || m > 655.0) {
                error = "--width wants the implement width in metres, not '" + v + "'";
                return false;
            }
            out.implementWidthMetres = m;
        } else if (arg == "--sections") {
            if (!value(v)) return false;
            char* end = nullptr;
            const long n = std::strtol(v.c_str(), &end, 10);
            if (v.empty() || *end != '\0' || n < 1 || n > 64) {
                error = "--sections wants a number of sections from 1 to 64, not '" + v + "'";
                return false;
            }
            out.sectionCount = int(n);
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::string name = arg.substr(arg[1] == '-' ? 2 : 1);
            if (kQtOptionsWithValue.count(name)) {
                if (!value(v)) return false;
            } else if (!kQtFlags.count(name)) {
                error = "unknown option " + arg;
                return false;
            }
        } else {
            error = "unexpected argument " + arg;
            return false;
        }
    }
    if (!out.importNmea.empty() && out.savePath.empty() && out.nmeaField.empty()) {
        error = "--import-nmea needs --save WORK.shp or --field NAME (or both)";
        return false;
    }
    if (out.importNmea.empty() && (!out.savePath.empty() || !out.nmeaField.empty() ||
                                   out.implementWidthMetres || out.sectionCount)) {
        error = "--save, --field, --width and --sections go with --import-nmea";
        return false;
    }
    if (out.importFields.empty() && !out.nameField.empty()) {
        error = "--name-field goes with --import-fields";
        return false;
    }
    if (out.exportField.empty() != out.exportTo.empty()) {
        error = "--export-field NAME and --to FILE go together";
        return false;
    }
    const int conversions = !out.kmlFiles.empty() + !out.importNmea.empty() +
                            !out.importFields.empty() + !out.exportField.empty();
    if (conversions > 1) {
        error = "--kml, --import-nmea, --import-fields and --export-field are one at a time";
        return false;
    }
    return true;
}

const char* usageText() {
    return "Usage: sulcomain [OPTION]...\n"
           "Parallel guidance for tractors: set A and B, then follow the guide lines.\n"
           "\n"
           "  --size WxH           open a window of this size (default: the whole screen)\n"
           "  --orientation N      display rotation 0..3 (default: 1 when wider than tall)\n"
           "  --gps-device PATH    open this receiver device instead of the configured port;\n"
           "                       gpsd://HOST[:PORT] reads the receiver through gpsd\n"
           "  --ntrip ntrip://[USER[:PASSWORD]@]HOST[:PORT]/MOUNTPOINT\n"
           "                       take RTK corrections from this NTRIP caster (port 2101\n"
           "                       when none is given)\n"
           "  --simulate           drive with the built-in receiver simulator (gpssim)\n"
           "  --language LANG      en, es, de or ru (default: from the locale)\n"
           "  --kml WORK.shp...    convert saved works to KML beside them and exit\n"
           "  --import-nmea LOG --save WORK.shp [--width METRES] [--sections N]\n"
           "                       turn a recorded NMEA log into a saved work and exit;\n"
           "                       with N sections, each switched off over worked ground\n"
           "  --import-nmea LOG --field NAME [--save WORK.shp] [--width METRES]\n"
           "                       the same, and keep the work in the farm book under the\n"
           "                       field NAME\n"
           "  --import-fields FILE [--name-field ATTRIBUTE]\n"
           "                       add every polygon of a shapefile, GeoJSON, KML or\n"
           "                       GeoPackage to the farm book as a field, and exit\n"
           "  --export-field NAME --to FILE\n"
           "                       write the field's works from the farm book to FILE\n"
           "                       (.shp, .geojson, .json or .kml) and exit\n"
           "  --version            print the version and exit\n"
           "  --help               print this help and exit\n"
           "\n"
           "Qt's own options pass through, for example -platform offscreen or -platform vnc.\n";
}
