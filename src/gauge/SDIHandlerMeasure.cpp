// Gauge handler: measurement commands, data collection and the single
// weight reading with status check.

#include "gauge/ReplyParsing.h"
#include "gauge/SDIHandler.h"
#include "link/ByteText.h"
#include "link/Clock.h"
#include "link/CompilerQuirks.h"
#include "link/SDI12IO.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

QString (*textSource)(int id) = nullptr;

constexpr std::uint32_t AnnouncementTimeoutMs = 200;
constexpr std::uint32_t DataTimeoutMs = 300;
constexpr double DataPauseMs = 200.0;
constexpr double ReadingPauseMs = 500.0;
constexpr int UnreadableAnnouncementSeconds = 5;
// SDI-12 knows the data commands D0! to D9! only.
constexpr int LastDataIndex = 9;
// The announcement carries three digits of seconds.
constexpr int LongestAnnouncedSeconds = 999;

// Position of the bucket content and of the status word among the "M!" values.
constexpr std::size_t BucketPosition = 4;
constexpr std::size_t StatusPosition = 8;
constexpr int FirstStatusTextId = 180;
constexpr int FailureTextId = 192;
constexpr int StatusMasks[] = {1024, 512, 256, 128, 64, 32, 16, 8, 4, 2, 1};
// Only failures this heavy spoil a weight reading.
constexpr int ReadingFailureMask = 512;

// A failed conversion while judging a reading; message says what failed.
struct ReadingError {
    QString message;
};

QString Quoted(const std::string& text) {
    return QLatin1Char('\'') + Latin1Text(text) + QLatin1Char('\'');
}

const std::string& ValueAt(const std::vector<std::string>& values, std::size_t position) {
    if (position >= values.size())
        throw ReadingError{QStringLiteral("List index out of bounds (%1)").arg(position)};
    return values[position];
}

int StatusOf(const std::string& text) {
    int status = 0;
    if (!GaugeReply::ParseInteger(text, status))
        throw ReadingError{Quoted(text) + QStringLiteral(" is not a valid integer value")};
    return status;
}

// The bucket value with every "." and every "," replaced by the decimal
// separator of the PC's locale, as bytes (for the caller) and as text (for
// the conversion).
struct LocalValue {
    std::string bytes;
    QString text;
};

LocalValue WithLocalDecimalSeparator(const std::string& raw) {
    const QString separator = QLocale().decimalPoint();
    const std::string separatorBytes = separator.toStdString();
    LocalValue local;
    for (const char c : raw) {
        if (c == '.' || c == ',') {
            local.bytes += separatorBytes;
            local.text += separator;
        } else {
            local.bytes.push_back(c);
            local.text += QChar(static_cast<unsigned char>(c));
        }
    }
    return local;
}

double NumberOf(const LocalValue& value) {
    bool ok = false;
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    const double number = locale.toDouble(value.text, &ok);
    if (!ok || !std::isfinite(number))
        throw ReadingError{QLatin1Char('\'') + value.text +
                           QStringLiteral("' is not a valid floating point value")};
    return number;
}

} // namespace

void TSDIHandler::SetTextSource(QString (*lookup)(int id)) {
    textSource = lookup;
}

QString TSDIHandler::Text(int id) {
    return textSource != nullptr ? textSource(id) : QString();
}

int TSDIHandler::StartMeasurement(const std::string& command, int& count) {
    if (!Connected)
        return -1;
    std::string reply;
    if (!Send(command, AnnouncementTimeoutMs, reply) || reply.size() <= 3)
        return -1;
    int seconds = 0;
    if (GaugeReply::ParseAnnouncement(reply, seconds, count) !=
        GaugeReply::AnnouncementParse::Parsed)
        return UnreadableAnnouncementSeconds;
    return seconds;
}

void TSDIHandler::WaitForServiceRequest(int seconds) {
    const int bounded = std::clamp(seconds, 0, LongestAnnouncedSeconds);
    std::string reply;
    SDI12IO::WaitForReply(reply, static_cast<std::uint32_t>(bounded) * 1000u, Address);
}

bool TSDIHandler::CollectData(int count, std::vector<std::string>& values) {
    int collected = 0;
    int index = 0;
    bool ok = true;
    while (collected < count && ok) {
        // A gauge whose data replies never add up to the count ends after D9!.
        if (index > LastDataIndex) {
            ok = false;
            break;
        }
        TheClock().SleepMs(DataPauseMs);
        std::string reply;
        STRING_CONCAT_RESTRICT_BEGIN
        const std::string command = "D" + std::to_string(index) + "!";
        STRING_CONCAT_RESTRICT_END
        // A line that never ended has lost values: the collection fails.
        if (!Send(command, DataTimeoutMs, reply) || reply.size() <= 4 ||
            !GaugeReply::EndsWithLineEnd(reply)) {
            ok = false;
            break;
        }
        const std::vector<std::string> received =
            GaugeReply::SplitSignedValues(GaugeReply::Content(reply));
        values.insert(values.end(), received.begin(), received.end());
        collected += static_cast<int>(received.size());
        ++index;
    }
    return count >= 0 && values.size() == static_cast<std::size_t>(count);
}

double TSDIHandler::MeasureWithStatus(QStringList& messages, std::string& valueText) {
    double result = -1;
    TheClock().SleepMs(ReadingPauseMs);
    int count = 0;
    StartMeasurement("M!", count);
    std::vector<std::string> values;
    if (!CollectData(count, values))
        return result;
    try {
        const LocalValue bucket = WithLocalDecimalSeparator(ValueAt(values, BucketPosition));
        const int status = StatusOf(ValueAt(values, StatusPosition));
        int textId = FirstStatusTextId;
        for (const int mask : StatusMasks) {
            if ((status & mask) == mask && mask >= ReadingFailureMask)
                messages.append(Text(textId) + QStringLiteral(" (") + Text(FailureTextId) +
                                QStringLiteral(")"));
            ++textId;
        }
        valueText = bucket.bytes;
        result = NumberOf(bucket);
    } catch (const ReadingError& error) {
        messages.append(QStringLiteral("Exception Error ") + error.message);
        return 0;
    }
    return result;
}
