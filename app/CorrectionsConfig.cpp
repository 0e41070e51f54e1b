#include "app/CorrectionsConfig.h"

#include "app/ConfigFile.h"

#include <QFileInfo>

NtripSettings loadCorrectionsConfig() {
    NtripSettings s;
    if (!QFileInfo::exists(QString::fromStdString(configPath()))) return s;
    QSettings file(QString::fromStdString(configPath()), QSettings::IniFormat);
    file.beginGroup(QStringLiteral("corrections"));
    s.on = file.value(QStringLiteral("on"), false).toBool();
    s.caster = file.value(QStringLiteral("caster")).toString().trimmed().toStdString();
    const int port = file.value(QStringLiteral("port"), 2101).toInt();
    s.port = port >= 1 && port <= 65535 ? port : 2101;
    s.mountpoint = file.value(QStringLiteral("mountpoint")).toString().trimmed().toStdString();
    s.user = file.value(QStringLiteral("user")).toString().toStdString();
    s.password = file.value(QStringLiteral("password")).toString().toStdString();
    s.version = file.value(QStringLiteral("version"), 2).toInt() == 1 ? 1 : 2;
    return s;
}

bool saveCorrectionsConfig(const NtripSettings& s) {
    std::unique_ptr<QSettings> file = openConfigFile();
    file->beginGroup(QStringLiteral("corrections"));
    file->setValue(QStringLiteral("on"), s.on);
    file->setValue(QStringLiteral("caster"), QString::fromStdString(s.caster));
    file->setValue(QStringLiteral("port"), s.port);
    file->setValue(QStringLiteral("mountpoint"), QString::fromStdString(s.mountpoint));
    file->setValue(QStringLiteral("user"), QString::fromStdString(s.user));
    file->setValue(QStringLiteral("password"), QString::fromStdString(s.password));
    file->setValue(QStringLiteral("version"), s.version);
    file->endGroup();
    file->sync();
    const bool ok = file->status() == QSettings::NoError;
    restrictConfigFile();
    return ok;
}
