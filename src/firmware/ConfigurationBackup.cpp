#include "firmware/ConfigurationBackup.h"

#include "config/ConfigurationFile.h"
#include "config/ConfigurationSequence.h"
#include "config/IniDocument.h"
#include "config/ParameterRows.h"
#include "gauge/SDIHandler.h"
#include "firmware/UpdateCancelled.h"
#include "link/Clock.h"
#include "link/SDI12IO.h"
#include "ui/WideLanguageHandler.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace Firmware {

namespace {

constexpr int NotReadTextId = 743;
constexpr int NotWrittenTextId = 744;
constexpr int NoGaugeTextId = 745;

// Every setting the model shows was read (the switching time "0" shows no mark).
bool CompletelyRead(const Config::ParameterRows& rows) {
    for (int row = 0; row < Config::RowCount; ++row) {
        const auto r = static_cast<Config::Row>(row);
        if (rows.Shown(r) && rows.MarkOf(r) == Config::Mark::Failed)
            return false;
    }
    return rows.ConfigurationRead;
}

QString FreePath(const QDir& folder, const QString& name) {
    QString path = folder.filePath(name);
    const QFileInfo info(name);
    for (int n = 2; QFileInfo::exists(path) && n < 1000; ++n)
        path = folder.filePath(info.completeBaseName() + QStringLiteral("_%1.").arg(n) +
                               info.suffix());
    return path;
}

} // namespace

QString DefaultBackupFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("Backups"));
}

QString BackupFileName(const QString& serialNumber, const QDateTime& when) {
    QString serial = serialNumber.trimmed();
    for (QChar& c : serial)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'-')
            c = u'_';
    if (serial.isEmpty())
        serial = QStringLiteral("unknown");
    return QStringLiteral("Tessra2_") + serial + u'_' +
           when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")) + QStringLiteral(".txt");
}

BackupResult SaveConfigurationBackup(TSDIHandler& gauge, int model, const QString& folder,
                                     const QDateTime& when) {
    BackupResult result;
    if (!gauge.Connected && !SDI12IO::PortConnected) {
        result.failure = GetText(NoGaugeTextId);
        return result;
    }
    const QString serial = QString::fromLatin1(gauge.GetSerialNumber());

    Config::ParameterRows rows;
    Config::ConfigurationView quiet;
    Config::ConfigurationSequence sequence(gauge, rows, quiet);
    sequence.Prepare(model);
    // A backup needs every setting: the first one the gauge does not answer
    // ends it, and so does the update's Cancel (seen between two settings).
    const bool read = sequence.Read([](Config::Row, bool answered) {
        TheClock().ProcessMessages();
        return answered && !UpdateCancelled;
    });
    if (!read || !CompletelyRead(rows)) {
        result.failure = GetText(NotReadTextId);
        return result;
    }

    IniDocument document;
    Config::ExportConfiguration(rows, rows.Shown(Config::ImpulseFactorRow), document);
    const QDir dir(folder);
    result.file = QDir::toNativeSeparators(FreePath(dir, BackupFileName(serial, when)));
    if (!QDir().mkpath(folder) || !document.Save(QDir::fromNativeSeparators(result.file))) {
        result.failure = GetText(NotWrittenTextId).arg(result.file);
        return result;
    }
    result.saved = true;
    return result;
}

} // namespace Firmware
