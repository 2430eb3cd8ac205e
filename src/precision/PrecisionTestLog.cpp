#include "precision/PrecisionTestLog.h"

#include "ui/FolderSettings.h"
#include "ui/WideLanguageHandler.h"
#include "ui/WindowsCodePages.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>

namespace Precision {
namespace {

constexpr int DateTextId = 381;
constexpr int SerialTextId = 19;
constexpr int FirmwareTextId = 18;
constexpr int IntensityTextId = 22;
constexpr int PassedTextId = 379;

const QString Separator = QStringLiteral(": ");
const QString LineEnd = QStringLiteral("\r\n");

bool WriteInto(const QString& folder, const QString& name, const QByteArray& bytes, QString& path) {
    path = QDir(folder).filePath(name);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

QString TestLogFileName(const QDateTime& when) {
    return QStringLiteral("PrecisionTest_") + when.toString(QStringLiteral("yyyy_MM_dd_HH_mm_ss")) +
           QStringLiteral(".log");
}

QString TestTraceFileName(const QDateTime& when) {
    QString name = TestLogFileName(when);
    name.chop(4);
    return name + QStringLiteral(".trace.txt");
}

QByteArray TestLogBytes(const PrecisionTestRecord& record, const QDateTime& when) {
    const GaugeInformation& g = record.gauge;
    const std::pair<int, QString> head[] = {
        {DateTextId, when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))},
        {SerialTextId, g.serialNumber + u'/' + g.hardwareIndex},
        {FirmwareTextId, g.firmwareVersion},
        {IntensityTextId, g.intensityUnitName},
    };
    QString text;
    for (const auto& [label, value] : head)
        text += GetText(label) + Separator + value + LineEnd;
    for (const WeightResultRow& row : WeightResultRows(record.values))
        text += GetText(row.labelTextId) + Separator + row.value + LineEnd;
    text += GetText(PassedTextId) + Separator + record.verdict + LineEnd;
    return EncodeEightBit(text, CodePageOfLanguage(LanguageOffset));
}

QJsonObject TestLogValues(const PrecisionTestRecord& record) {
    const PrecisionTestValues& v = record.values;
    const std::pair<const char*, float> numbers[] = {
        {"TestWeightMm", v.TestWeightMm},
        {"TestWeightInch", v.TestWeightInch},
        {"TestWeightGram", v.TestWeightGram},
        {"MeasuredTestMm", v.MeasuredTestMm},
        {"MeasuredTestGram", v.MeasuredTestGram},
        {"MeasuredTestInch", v.MeasuredTestInch},
        {"BaseMm", v.BaseMm},
        {"BaseGram", v.BaseGram},
        {"BaseInch", v.BaseInch},
        {"TotalMm", v.TotalMm},
        {"TotalInch", v.TotalInch},
        {"TotalGram", v.TotalGram},
        {"PermittedMm", v.PermittedMm},
        {"PermittedGram", v.PermittedGram},
        {"PermittedInch", v.PermittedInch},
        {"DeviationMm", v.DeviationMm},
        {"DeviationGram", v.DeviationGram},
        {"DeviationInch", v.DeviationInch},
    };
    QJsonObject values;
    for (const auto& [name, value] : numbers)
        values.insert(QLatin1String(name), static_cast<double>(value));
    values.insert(QStringLiteral("SerialNumber"), record.gauge.serialNumber);
    values.insert(QStringLiteral("HardwareIndex"), record.gauge.hardwareIndex);
    values.insert(QStringLiteral("FirmwareVersion"), record.gauge.firmwareVersion);
    values.insert(QStringLiteral("IntensityUnit"), record.gauge.intensityUnitName);
    values.insert(QStringLiteral("Verdict"), record.verdict);
    return values;
}

LogFolders ProgramLogFolders() {
    return {ProgramFolder(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)};
}

LogWriteResult WriteTestLog(const PrecisionTestRecord& record, const QDateTime& when,
                            const LogFolders& folders, const QByteArray& trace) {
    const QByteArray bytes = TestLogBytes(record, when);
    const QString name = TestLogFileName(when);
    LogWriteResult result;
    for (const QString& folder : {folders.program, folders.perUser}) {
        QString path;
        if (WriteInto(folder, name, bytes, path)) {
            result.path = QDir::toNativeSeparators(path);
            QString tracePath;
            if (!trace.isEmpty() && WriteInto(folder, TestTraceFileName(when), trace, tracePath))
                result.tracePath = QDir::toNativeSeparators(tracePath);
            return result;
        }
        if (!folder.isEmpty())
            result.failed.append(QDir::toNativeSeparators(path));
    }
    return result;
}

} // namespace Precision
