// QSettings in INI format keeps every other section of the file as it is when this one is
// written.
#include "app/SectionConfig.h"

#include <QRegularExpression>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>

#include "app/AppState.h"
#include "app/BackgroundWrites.h"
#include "app/ConfigFile.h"

SectionConfig sectionConfig;

namespace {

// QString's conversions are the C locale's whatever LC_NUMERIC says. A well-formed number
// too large for a double (1e400) is a number beyond the range: it goes to the end its sign
// points at, as any other large number does.
double readNumber(const QString& raw, double initial, double low, double high) {
    const QString text = raw.trimmed();
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (ok && std::isfinite(value)) return std::clamp(value, low, high);
    static const QRegularExpression decimal(
        QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
    if (decimal.match(text).hasMatch()) return text.startsWith('-') ? low : high;
    return initial;
}

// A widths text without quotes, 300,300, is a list to QSettings: its items are joined again.
QString readText(QSettings& ini, const char* key) {
    const QVariant value = ini.value(key);
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(',').trimmed();
    return value.toString().trimmed();
}

QString writtenNumber(double value) {
    return QString::number(value, 'g', 10);
}

}  // namespace

void loadSectionConfig() {
    QSettings ini(QString::fromStdString(configPath()), QSettings::IniFormat);
    ini.beginGroup("sections");
    const SectionConfig initial;
    SectionConfig c;
    const double count =
        readNumber(readText(ini, "count"), initial.count, 1.0, double(kMaxSections));
    c.count = count == std::floor(count) ? int(count) : initial.count;
    c.widths = readText(ini, "widths").toStdString();
    const auto turn = [&](const char* key, double initialS) {
        const double s = readNumber(readText(ini, key), initialS, 0.0, kMaxTurnSeconds);
        return std::round(s / kTurnStepSeconds) * kTurnStepSeconds;
    };
    c.turnOnS = turn("turn_on", initial.turnOnS);
    c.turnOffS = turn("turn_off", initial.turnOffS);
    c.coveragePercent = readNumber(readText(ini, "coverage"), initial.coveragePercent, 0, 100);
    c.minSpeedKmh =
        readNumber(readText(ini, "min_speed"), initial.minSpeedKmh, 0, kMaxSectionSpeedKmh);
    const QString headland = readText(ini, "headland").toLower();
    c.headlandOff = headland == "true" ? true : headland == "false" ? false : initial.headlandOff;
    c.output = readText(ini, "output").toStdString();
    ini.endGroup();
    // The fix thread may be running when the file is read again.
    std::lock_guard lock(appState.frameLock);
    sectionConfig = std::move(c);
}

void saveSectionConfig() {
    writeInBackground([c = sectionConfig] {
        std::unique_ptr<QSettings> file = openConfigFile();
        QSettings& ini = *file;
        ini.beginGroup("sections");
        ini.setValue("count", c.count);
        ini.setValue("widths", QString::fromStdString(c.widths));
        ini.setValue("turn_on", writtenNumber(c.turnOnS));
        ini.setValue("turn_off", writtenNumber(c.turnOffS));
        ini.setValue("coverage", writtenNumber(c.coveragePercent));
        ini.setValue("min_speed", writtenNumber(c.minSpeedKmh));
        ini.setValue("headland", c.headlandOff ? "true" : "false");
        ini.setValue("output", QString::fromStdString(c.output));
        ini.endGroup();
        ini.sync();
        const bool ok = ini.status() == QSettings::NoError;
        restrictConfigFile();
        return ok;
    });
}

SectionLayout sectionLayoutNow(int implementWidthCm, std::string* problem) {
    if (problem) problem->clear();
    SectionLayout whole;
    whole.implementWidthCm = implementWidthCm;
    whole.widthsCm = {implementWidthCm};
    const std::string& widths = sectionConfig.widths;
    // One section without widths is the implement, whatever its width.
    if (sectionConfig.count == 1 && widths.find_first_not_of(" \t") == std::string::npos)
        return whole;
    LayoutResult r = parseSectionLayout(widths, sectionConfig.count, implementWidthCm);
    if (r.layout) return std::move(*r.layout);
    if (!problem) return whole;
    const std::string count = std::to_string(sectionConfig.count);
    const std::string width = std::to_string(implementWidthCm);
    switch (r.refusal) {
        case LayoutRefusal::SumNotImplementWidth:
            *problem = "the section widths add up to " + std::to_string(r.sumCm) +
                       " cm, the implement is " + width + " cm";
            break;
        case LayoutRefusal::CountMismatch:
            *problem = "the section widths do not list " + count + " sections";
            break;
        case LayoutRefusal::BadNumber:
            *problem = "section width " + std::to_string(r.item + 1) +
                       " is not a whole number of centimetres";
            break;
        default:
            *problem = "an implement of " + width + " cm cannot hold " + count + " sections";
            break;
    }
    *problem += ": one section of the whole implement";
    return whole;
}
