#include "logbook/LogbookEntry.h"

#include "VersionResource.h"

#include <QDir>
#include <QJsonArray>
#include <QSysInfo>
#include <array>

namespace {

struct KindRow {
    LogbookKind kind;
    const char* name;
};
constexpr std::array Kinds = {
    KindRow{LogbookKind::Connection, "connection"},
    KindRow{LogbookKind::ConfigurationRead, "config-read"},
    KindRow{LogbookKind::ConfigurationWrite, "config-write"},
    KindRow{LogbookKind::ConfigurationExport, "config-export"},
    KindRow{LogbookKind::ConfigurationImport, "config-import"},
    KindRow{LogbookKind::ClockSet, "clock-set"},
    KindRow{LogbookKind::ClockSync, "clock-sync"},
    KindRow{LogbookKind::TotalReset, "total-reset"},
    KindRow{LogbookKind::FactoryReset, "factory-reset"},
    KindRow{LogbookKind::FirmwareUpdate, "firmware-update"},
    KindRow{LogbookKind::PrecisionTest, "precision-test"},
    KindRow{LogbookKind::MeasurementRun, "measurement-run"},
};

const QString StoredTimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ");

// The account the program runs under, as the environment names it, else
// as its home folder does.
QString OsUser() {
    for (const char* variable : {"USER", "USERNAME", "LOGNAME"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty())
            return name;
    }
    return QDir::home().dirName();
}

} // namespace

QString KindName(LogbookKind kind) {
    for (const KindRow& row : Kinds)
        if (row.kind == kind)
            return QLatin1String(row.name);
    return {};
}

std::optional<LogbookKind> KindFromName(const QString& name) {
    for (const KindRow& row : Kinds)
        if (name == QLatin1String(row.name))
            return row.kind;
    return std::nullopt;
}

QStringList KindNames() {
    QStringList names;
    for (const KindRow& row : Kinds)
        names.append(QLatin1String(row.name));
    return names;
}

void CompleteEntry(LogbookEntry& entry) {
    if (entry.id.isNull())
        entry.id = QUuid::createUuid();
    if (!entry.timeUtc.isValid())
        entry.timeUtc = QDateTime::currentDateTimeUtc();
    entry.timeUtc = entry.timeUtc.toUTC();
    if (entry.osUser.isEmpty())
        entry.osUser = OsUser();
    if (entry.host.isEmpty())
        entry.host = QSysInfo::machineHostName();
    if (entry.programVersion.isEmpty())
        entry.programVersion = QStringLiteral(TESSRA_PRODUCT_VERSION);
}

QString StoredTime(const QDateTime& timeUtc) {
    return timeUtc.toUTC().toString(StoredTimeFormat);
}

QDateTime TimeFromStored(const QString& text) {
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    return time.toUTC();
}

QJsonObject EntryToJson(const LogbookEntry& entry) {
    return QJsonObject{
        {QStringLiteral("id"), entry.id.toString(QUuid::WithoutBraces)},
        {QStringLiteral("time"), StoredTime(entry.timeUtc)},
        {QStringLiteral("serial_number"), entry.gauge.serialNumber},
        {QStringLiteral("hardware_index"), entry.gauge.hardwareIndex},
        {QStringLiteral("model"), entry.gauge.model},
        {QStringLiteral("firmware_version"), entry.gauge.firmwareVersion},
        {QStringLiteral("kind"), KindName(entry.kind)},
        {QStringLiteral("summary"), entry.summary},
        {QStringLiteral("details"), entry.details},
        {QStringLiteral("files"), QJsonArray::fromStringList(entry.files)},
        {QStringLiteral("os_user"), entry.osUser},
        {QStringLiteral("host"), entry.host},
        {QStringLiteral("program_version"), entry.programVersion},
    };
}
