#include "logbook/LogbookEvents.h"

#include "ui/GaugeVocabulary.h"
#include "ui/WideLanguageHandler.h"

#include <QFileInfo>
#include <QJsonArray>

namespace {

constexpr int ConnectedText = 950;
constexpr int ConfigurationReadText = 951;
constexpr int ConfigurationWrittenText = 952;
constexpr int NothingChangedText = 953;
constexpr int ExportedText = 954;
constexpr int ImportedText = 955;
constexpr int ClockSetText = 956;
constexpr int ClockSynchronisedText = 957;
constexpr int TotalResetText = 958;
constexpr int FactoryResetText = 959;
constexpr int FirmwareUpdatedText = 960;
constexpr int FirmwareFailedText = 961;
constexpr int FirmwareCancelledText = 962;
constexpr int TestPassedText = 963;
constexpr int TestNotPassedText = 964;
constexpr int MeasurementRunText = 965;

const QString ShownTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// A summary is one line, whatever a file name holds.
QString OneLine(QString text) {
    for (QChar& c : text)
        if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    return text;
}

QString FileName(const QString& path) {
    return QFileInfo(path).fileName();
}

QString Absolute(const QString& path) {
    return path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
}

// The absolute paths of the files given, without the empty ones.
QStringList Files(std::initializer_list<QString> paths) {
    QStringList files;
    for (const QString& path : paths)
        if (!path.isEmpty())
            files.append(Absolute(path));
    return files;
}

LogbookEntry Entry(const GaugeIdentity& gauge, LogbookKind kind, const QString& summary,
                   QJsonObject details = {}, QStringList files = {}) {
    LogbookEntry entry;
    entry.gauge = gauge;
    entry.kind = kind;
    entry.summary = OneLine(summary);
    entry.details = std::move(details);
    entry.files = std::move(files);
    return entry;
}

LogbookEntry FileEntry(const GaugeIdentity& gauge, LogbookKind kind, int textId,
                       const QString& file) {
    return Entry(gauge, kind, GetText(textId).arg(FileName(file)),
                 {{QStringLiteral("file"), Absolute(file)}}, Files({file}));
}

LogbookEntry ClockEntry(const GaugeIdentity& gauge, LogbookKind kind, int textId,
                        const QString& before, const QString& after) {
    return Entry(gauge, kind, GetText(textId).arg(before, after),
                 {{QStringLiteral("before"), before}, {QStringLiteral("after"), after}});
}

QString OutcomeName(UpdateOutcome outcome) {
    switch (outcome) {
    case UpdateOutcome::Succeeded:
        return QStringLiteral("succeeded");
    case UpdateOutcome::Failed:
        return QStringLiteral("failed");
    case UpdateOutcome::Cancelled:
        return QStringLiteral("cancelled");
    }
    return {};
}

QString UtcText(const QDateTime& time) {
    return time.isValid() ? StoredTime(time) : QString();
}

QString LocalText(const QDateTime& time) {
    return time.toLocalTime().toString(ShownTimeFormat);
}

} // namespace

LogbookEntry GaugeConnected(const GaugeIdentity& gauge, const QString& identification,
                            const QJsonObject& status) {
    return Entry(
        gauge, LogbookKind::Connection,
        GetText(ConnectedText)
            .arg(Vocabulary::ModelName(gauge.model), gauge.serialNumber, gauge.firmwareVersion),
        {{QStringLiteral("identification"), identification}, {QStringLiteral("status"), status}});
}

LogbookEntry ConfigurationRead(const GaugeIdentity& gauge, const QJsonObject& values) {
    return Entry(gauge, LogbookKind::ConfigurationRead,
                 GetText(ConfigurationReadText).arg(values.size()),
                 {{QStringLiteral("values"), values}});
}

LogbookEntry ConfigurationWritten(const GaugeIdentity& gauge,
                                  const std::vector<SettingChange>& changes) {
    QJsonArray list;
    QStringList keys;
    for (const SettingChange& change : changes) {
        list.append(QJsonObject{{QStringLiteral("key"), change.key},
                                {QStringLiteral("old"), change.before},
                                {QStringLiteral("new"), change.after}});
        keys.append(change.key);
    }
    const QString summary =
        keys.isEmpty() ? GetText(NothingChangedText)
                       : GetText(ConfigurationWrittenText).arg(keys.join(QStringLiteral(", ")));
    return Entry(gauge, LogbookKind::ConfigurationWrite, summary,
                 {{QStringLiteral("changes"), list}});
}

LogbookEntry ConfigurationExported(const GaugeIdentity& gauge, const QString& file) {
    return FileEntry(gauge, LogbookKind::ConfigurationExport, ExportedText, file);
}

LogbookEntry ConfigurationImported(const GaugeIdentity& gauge, const QString& file) {
    return FileEntry(gauge, LogbookKind::ConfigurationImport, ImportedText, file);
}

LogbookEntry GaugeClockSet(const GaugeIdentity& gauge, const QString& before,
                           const QString& after) {
    return ClockEntry(gauge, LogbookKind::ClockSet, ClockSetText, before, after);
}

LogbookEntry GaugeClockSynchronised(const GaugeIdentity& gauge, const QString& before,
                                    const QString& after) {
    return ClockEntry(gauge, LogbookKind::ClockSync, ClockSynchronisedText, before, after);
}

LogbookEntry GaugeTotalReset(const GaugeIdentity& gauge) {
    return Entry(gauge, LogbookKind::TotalReset, GetText(TotalResetText));
}

LogbookEntry GaugeFactoryReset(const GaugeIdentity& gauge, std::optional<bool> heatingOn) {
    QJsonObject details;
    if (heatingOn)
        details.insert(QStringLiteral("heating"), *heatingOn);
    return Entry(gauge, LogbookKind::FactoryReset, GetText(FactoryResetText), details);
}

LogbookEntry FirmwareUpdated(const GaugeIdentity& gauge, const FirmwareUpdateFacts& facts) {
    QString summary;
    switch (facts.outcome) {
    case UpdateOutcome::Succeeded:
        summary = GetText(FirmwareUpdatedText).arg(facts.versionBefore, facts.versionAfter);
        break;
    case UpdateOutcome::Failed:
        summary = GetText(FirmwareFailedText).arg(facts.versionBefore);
        break;
    case UpdateOutcome::Cancelled:
        summary = GetText(FirmwareCancelledText).arg(facts.versionBefore);
        break;
    }
    // The entry names the firmware the gauge has now.
    GaugeIdentity now = gauge;
    if (facts.outcome == UpdateOutcome::Succeeded && !facts.versionAfter.isEmpty())
        now.firmwareVersion = facts.versionAfter;
    else if (!facts.versionBefore.isEmpty())
        now.firmwareVersion = facts.versionBefore;
    return Entry(now, LogbookKind::FirmwareUpdate, summary,
                 {{QStringLiteral("image"), Absolute(facts.image)},
                  {QStringLiteral("version_before"), facts.versionBefore},
                  {QStringLiteral("version_after"), facts.versionAfter},
                  {QStringLiteral("outcome"), OutcomeName(facts.outcome)},
                  {QStringLiteral("backup"), Absolute(facts.backup)}},
                 Files({facts.image, facts.backup}));
}

LogbookEntry PrecisionTestDone(const GaugeIdentity& gauge, const PrecisionTestFacts& facts) {
    return Entry(gauge, LogbookKind::PrecisionTest,
                 GetText(facts.passed ? TestPassedText : TestNotPassedText),
                 {{QStringLiteral("values"), facts.values},
                  {QStringLiteral("passed"), facts.passed},
                  {QStringLiteral("log"), Absolute(facts.log)},
                  {QStringLiteral("report"), Absolute(facts.report)},
                  {QStringLiteral("trace"), Absolute(facts.trace)}},
                 Files({facts.log, facts.report, facts.trace}));
}

LogbookEntry MeasurementRunEnded(const GaugeIdentity& gauge, const MeasurementRunFacts& facts) {
    return Entry(
        gauge, LogbookKind::MeasurementRun,
        GetText(MeasurementRunText)
            .arg(QString::number(facts.records), LocalText(facts.start), LocalText(facts.end)),
        {{QStringLiteral("start"), UtcText(facts.start)},
         {QStringLiteral("end"), UtcText(facts.end)},
         {QStringLiteral("records"), facts.records},
         {QStringLiteral("journal"), Absolute(facts.journal)}},
        Files({facts.journal}));
}
