#include "measurement/MeasurementLayout.h"

#include "gauge/ReplyParsing.h"
#include "ui/GaugeVocabulary.h"
#include "ui/WideLanguageHandler.h"

namespace MeasurementLayout {

namespace {

constexpr int MTitleIds[MRowCount] = {110, 111, 112, 113, 114, 115, 116, 117, 118};
constexpr int M1TitleIds[M1RowCount] = {120, 121, 122};

constexpr int InactiveWhileUsbTextId = 623;
constexpr int FailureTextId = 192;
constexpr int WarningTextId = 193;
constexpr int AnalysisTextId = 557;
constexpr int AdviceTextId = 457;

constexpr StatusBit Table[StatusTableSize] = {
    {1024, 180, true}, {512, 181, true}, {256, 182, true}, {128, 183, true},
    {64, 184, true},   {32, 185, false}, {16, 186, false}, {8, 187, false},
    {4, 188, false},   {2, 189, false},  {1, 190, false},
};

constexpr int IntensityUnits = 4;   // mm/min, mm/h, inch/min, inch/h
constexpr int TemperatureUnits = 2; // °C, °F

QString IntensityUnit(int unit) {
    return unit >= 0 && unit < IntensityUnits ? Vocabulary::IntensityUnitText(unit) : QString();
}

QString TemperatureUnit(int unit) {
    return unit >= 0 && unit < TemperatureUnits ? Vocabulary::TemperatureUnitText(unit)
                                                : QString();
}

// "mm" of "mm/h": the intensity unit up to, not including, its first "/".
QString AmountUnit(int intensityUnit) {
    const QString unit = IntensityUnit(intensityUnit);
    const qsizetype slash = unit.indexOf(u'/');
    return slash >= 0 ? unit.left(slash) : unit;
}

const QString CrLf = QStringLiteral("\r\n");

} // namespace

int RowTitleTextId(int position) {
    if (position >= 0 && position < MRowCount)
        return MTitleIds[position];
    if (position >= MRowCount && position < PositionCount)
        return M1TitleIds[position - MRowCount];
    return 0;
}

QString UnitText(int position, int intensityUnit, int temperatureUnit) {
    switch (position) {
    case 0:
        return IntensityUnit(intensityUnit);
    case 1:
    case 2:
    case 3: {
        const QString amount = AmountUnit(intensityUnit);
        const QString remark = GetText(InactiveWhileUsbTextId);
        return amount.isEmpty() ? remark : amount + u' ' + remark;
    }
    case 4:
    case 5:
        return AmountUnit(intensityUnit);
    case 6:
    case 9:
    case 11:
        return TemperatureUnit(temperatureUnit);
    case 10:
        return QStringLiteral("V");
    default:
        return {};
    }
}

const StatusBit* StatusTable() {
    return Table;
}

bool ParseStatusWord(std::string_view value, int& word) {
    return GaugeReply::ParseInteger(value, word);
}

QStringList DecodeStatusWord(int word) {
    QStringList lines;
    for (const StatusBit& bit : Table) {
        if ((word & bit.mask) != bit.mask)
            continue;
        lines << QString::number(bit.mask) + QStringLiteral(": ") + GetText(bit.textId) +
                     QStringLiteral(" (") + GetText(bit.failure ? FailureTextId : WarningTextId) +
                     u')';
    }
    return lines;
}

QString DecodedLinesReport(int word) {
    QString report;
    for (const QString& line : DecodeStatusWord(word))
        report += line + CrLf;
    return report;
}

QString AnalysisReport(int word) {
    return GetText(AnalysisTextId) + u' ' + GetText(RowTitleTextId(StatusPosition)) +
           QStringLiteral(" (") + QString::number(word) + u')' + CrLf + CrLf +
           DecodedLinesReport(word) + CrLf + GetText(AdviceTextId);
}

} // namespace MeasurementLayout
