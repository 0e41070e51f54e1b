#include "app/Conversions.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <optional>

#include "app/AppState.h"
#include "app/FarmConfig.h"
#include "app/FarmSession.h"
#include "app/FieldWork.h"
#include "app/FieldWorkSave.h"
#include "app/FixPipeline.h"
#include "app/SectionConfig.h"
#include "app/SectionControl.h"
#include "app/WorkSession.h"
#include "export/KmlExport.h"
#include "export/ShapefileExport.h"
#include "farm/FarmBook.h"
#include "farm/FieldExport.h"
#include "farm/FieldGeometry.h"
#include "farm/FieldImport.h"
#include "farm/WorkGround.h"
#include "gpslink/NmeaParser.h"
#include "guidance/Projection.h"
#include "settings/DialogValues.h"

int runKmlConversion(const std::vector<std::string>& files) {
    int failures = 0;
    for (const std::string& file : files) {
        std::string path = file;
        if (!convertShapefileToKml(path, appState.settings.trackColor)) {
            std::fprintf(stderr, "sulcomain: %s: not converted to KML\n", file.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

namespace {

// The widths the implement page can hold: half the width in centimetres is 16 bits wide.
constexpr double kMaxWidthMetres = 655.0;
constexpr double kNarrowestWidthMetres = 0.02;

bool feedLog(const std::string& log, NmeaParser& parser) {
    std::FILE* file = std::fopen(log.c_str(), "rb");
    if (!file) return false;
    std::uint8_t block[65536];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        parser.feed(block, std::uint32_t(got));
    bool good = !std::ferror(file);
    std::fclose(file);
    return good;
}

// The farm book at its configured place, when it is there: a conversion that reads it never
// makes an empty one.
std::unique_ptr<FarmBook> openExistingBook(std::string& error) {
    const std::string path = farmBookPath();
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
        error =
            "there is no farm book at " + path + "; add fields with sulcomain --import-fields FILE";
        return nullptr;
    }
    return FarmBook::open(path, error);
}

// The field of that name; none, with the reason, when the book has none.
std::optional<FieldEntry> fieldNamed(const std::string& name, std::string& error) {
    std::unique_ptr<FarmBook> book = openExistingBook(error);
    FarmContents contents;
    if (!book || !book->read(contents, error)) return std::nullopt;
    for (const FieldEntry& field : contents.fields)
        if (field.name == name) return field;
    error = "the farm book " + book->path() + " has no field '" + name +
            "'; add one with sulcomain --import-fields FILE [--name-field ATTRIBUTE]";
    return std::nullopt;
}

// When the log's first and last fixes were taken: their time of day, and the date the receiver
// sent last before each (RMC or ZDA), once it sent one.
struct LogClock {
    bool started = false;
    bool dated = false;
    int firstDate[3] = {};
    int lastDate[3] = {};
    int firstTime[3] = {};
    int lastTime[3] = {};

    void fix(const GPS_POSITION& fix, const NmeaParser& parser) {
        int date[3] = {};
        bool known = false;
        if (parser.zda().count > 0) {
            const auto& z = parser.zda();
            date[0] = z.year, date[1] = z.month, date[2] = z.day;
            known = true;
        } else if (parser.rmc().count > 0) {
            const auto& r = parser.rmc();
            date[0] = 2000 + r.year % 100, date[1] = r.month, date[2] = r.day;
            known = true;
        }
        const int time[3] = {fix.utcTime.hour, fix.utcTime.minute, fix.utcTime.second};
        if (!started) std::copy(time, time + 3, firstTime);
        started = true;
        std::copy(time, time + 3, lastTime);
        if (known) {
            if (!dated) std::copy(date, date + 3, firstDate);
            dated = true;
            std::copy(date, date + 3, lastDate);
        }
    }
    std::string start(std::time_t now) const { return stamp(firstDate, firstTime, now); }
    std::string end(std::time_t now) const { return stamp(lastDate, lastTime, now); }

  private:
    std::string stamp(const int (&date)[3], const int (&time)[3], std::time_t now) const {
        if (!dated) return isoUtc(now);
        return isoUtc(date[0], date[1], date[2], time[0], time[1], time[2]);
    }
};

// The parser's callback is a plain function: what it dates the log's fixes with while one is read.
LogClock* importClock = nullptr;
const NmeaParser* importParser = nullptr;
const FieldEntry* importField = nullptr;

// The field in the imported work's plane, as the farm thread draws it for a live work.
void placeFieldInWork(const FieldEntry& entry) {
    const WorkPlane& plane = appState.work.plane;
    workField = FieldWork{};
    workField.fieldId = entry.id;
    workField.entry = entry;
    workField.shape =
        fieldInPlane(ringsInPlane(entry.boundary, plane), ringsInPlane(entry.headland, plane));
    workField.inPlane = 1;
}

// The work into the book under its field, on the farm thread; waits for it. The work's id, or 0.
std::int64_t saveIntoBook(WorkEntry entry, std::string& error) {
    std::mutex lock;
    std::int64_t savedId = 0;
    saveFieldWork(appState.work, std::move(entry), [&](std::int64_t id, std::string why) {
        std::lock_guard hold(lock);
        savedId = id;
        error = std::move(why);
    });
    drainFarmBook();
    stopFarmBook();
    std::lock_guard hold(lock);
    return savedId;
}

}  // namespace

int runFieldImport(const std::string& file, const std::string& nameField) {
    std::vector<ImportedField> fields;
    std::string error;
    if (!importFields(file, nameField, fields, error)) {
        std::fprintf(stderr, "sulcomain: %s\n", error.c_str());
        return 1;
    }
    std::unique_ptr<FarmBook> book = FarmBook::open(farmBookPath(), error);
    if (!book) {
        std::fprintf(stderr, "sulcomain: %s\n", error.c_str());
        return 1;
    }
    const int passes = appState.settings.headlandPasses;
    const double width = appState.settings.implementWidth / 100.0;
    for (ImportedField& imported : fields) {
        FieldEntry& field = imported.field;
        field.headlandPasses = passes;
        field.headlandWidthM = width;
        field.headland = headlandLine(field.boundary, passes * width);
        if (book->addField(field, error) == 0) {
            std::fprintf(stderr, "sulcomain: %s: %s\n", book->path().c_str(), error.c_str());
            return 1;
        }
        std::printf("%s: %.4f ha%s\n", field.name.c_str(), field.areaHa,
                    imported.madeValid ? " (made valid)" : "");
    }
    return 0;
}

int runFieldExport(const std::string& fieldName, const std::string& file) {
    std::string error;
    std::unique_ptr<FarmBook> book = openExistingBook(error);
    if (!book || !exportFieldWorks(*book, fieldName, file, error)) {
        std::fprintf(stderr, "sulcomain: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

int runNmeaImport(const std::string& log, const std::string& save,
                  std::optional<double> widthMetres, const std::string& fieldName,
                  std::optional<int> sections) {
    AppState& s = appState;
    // A width is stored in even centimetres: below 2 cm it would be none at all, and the work
    // saved without an area.
    if (widthMetres &&
        !(*widthMetres >= kNarrowestWidthMetres && *widthMetres <= kMaxWidthMetres)) {
        std::fprintf(stderr,
                     "sulcomain: --width %g: the implement width must be at least %g and "
                     "at most %g metres\n",
                     *widthMetres, kNarrowestWidthMetres, kMaxWidthMetres);
        return 1;
    }
    if (!s.projection.forwardTransform)
        configureGeodesyData(appState.projection, appState.layout.moduleDir);
    if (!s.projection.forwardTransform) {
        std::fprintf(stderr, "sulcomain: no coordinate transformation available\n");
        return 1;
    }
    std::optional<FieldEntry> field;
    if (!fieldName.empty()) {
        std::string error;
        field = fieldNamed(fieldName, error);
        if (!field) {
            std::fprintf(stderr, "sulcomain: %s\n", error.c_str());
            return 1;
        }
    }
    const std::int64_t fieldId = field ? field->id : 0;
    const std::uint16_t storedHalfWidth = s.settings.implementHalfWidth;
    if (widthMetres) {
        s.settings.implementHalfWidth = halfWidthCentimetres(*widthMetres);
        s.settings.implementWidth = std::uint16_t(2 * s.settings.implementHalfWidth);
    }

    // A free work, never paused, exactly as the fixes would have arrived from the receiver.
    resetWork();
    if (sections) {
        const LayoutResult layout = parseSectionLayout("", *sections, s.settings.implementWidth);
        if (!layout.layout) {
            std::fprintf(stderr,
                         "sulcomain: --sections %d: an implement of %.2f m has no room "
                         "for so many sections\n",
                         *sections, s.settings.implementWidth / 100.0);
            s.settings.implementHalfWidth = storedHalfWidth;
            s.settings.implementWidth = std::uint16_t(2 * storedHalfWidth);
            return 1;
        }
        // Automatic, as the live program switches them, with the valves' times taken as 0.
        SectionRules rules = rulesOf(sectionConfig);
        rules.turnOnSeconds = rules.turnOffSeconds = 0.0;
        std::lock_guard lock(s.frameLock);
        configureSections(*layout.layout, rules, true);
    } else {
        // Without --sections the log's work is the implement's one strip, as it always was.
        std::lock_guard lock(s.frameLock);
        configureSections(SectionLayout{}, SectionRules{}, false);
    }
    s.ui.paused = 0;
    NmeaParser parser;
    LogClock clock;
    importClock = &clock;
    importParser = &parser;
    // With sections, the field's boundary and headland switch them as in the live program.
    importField = sections && field ? &*field : nullptr;
    parser.setFixCallback([](GPS_POSITION fix) {
        importClock->fix(fix, *importParser);
        std::lock_guard lock(appState.frameLock);
        if (importField && !workField.inPlane && appState.work.plane.originSet)
            placeFieldInWork(*importField);
        processFix(fix, FixUse::FreeWork);
    });
    bool read = feedLog(log, parser);
    importClock = nullptr;
    importParser = nullptr;
    importField = nullptr;
    {
        std::lock_guard lock(s.frameLock);
        workField = FieldWork{};
    }

    // The figures the panel shows for this work, to the square metre and the decimetre.
    auto summary = [](const std::string& where) {
        std::printf("%s: %u strip records, %.4f ha, %.4f km, overlap %.4f ha\n", where.c_str(),
                    unsigned(appState.work.strips.size()), appState.work.groundArea * 1e-6,
                    appState.work.distance * 1e-4,
                    std::max(appState.work.workedArea - appState.work.groundArea, 0.0) * 1e-6);
    };
    int result = 1;
    if (!read) {
        std::fprintf(stderr, "sulcomain: %s: cannot read the log\n", log.c_str());
    } else if (s.work.strips.empty()) {
        std::fprintf(stderr, "sulcomain: %s: no fix of the log made a strip record\n", log.c_str());
    } else if (!save.empty() && !exportShapefile(save, appState.work, appState.projection)) {
        std::fprintf(stderr, "sulcomain: %s: the work was not saved\n", save.c_str());
    } else {
        if (!save.empty()) summary(save);
        result = 0;
        if (fieldId != 0) {
            const std::time_t now = std::time(nullptr);
            WorkEntry entry;
            entry.fieldId = fieldId;
            entry.startTime = clock.start(now);
            entry.endTime = clock.end(now);
            entry.widthM = s.settings.implementWidth / 100.0;
            std::string error;
            if (saveIntoBook(std::move(entry), error) != 0) {
                summary(fieldName);
            } else {
                std::fprintf(stderr, "sulcomain: %s: the work was not saved in %s: %s\n",
                             fieldName.c_str(), farmBookPath().c_str(), error.c_str());
                result = 1;
            }
        }
    }
    s.settings.implementHalfWidth = storedHalfWidth;
    s.settings.implementWidth = std::uint16_t(2 * storedHalfWidth);
    {
        std::lock_guard lock(s.frameLock);
        configureSectionsFromSettings();
    }
    return result;
}
