#include "sim/SimGauge.h"

#include "link/CompilerQuirks.h"
#include "sim/SimValues.h"

#include <QDateTime>
#include <algorithm>
#include <cctype>
#include <cstdlib>

// The SDI-12 side of the simulated gauge: the standard commands of an SDI-12
// version 1.3 sensor and the gauge's extended "O..." commands.

namespace {

constexpr const char* DateTimeFormat = "yyyy-MM-ddTHH:mm:ss";

bool IsDigits(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsAddress(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "hh:nn:ss" with a valid time of day.
bool IsTimeOfDay(const std::string& text) {
    if (text.size() != 8 || text[2] != ':' || text[5] != ':')
        return false;
    const std::string h = text.substr(0, 2), m = text.substr(3, 2), s = text.substr(6, 2);
    return IsDigits(h) && IsDigits(m) && IsDigits(s) && std::stoi(h) < 24 && std::stoi(m) < 60 &&
           std::stoi(s) < 60;
}

bool IsDateTime(const std::string& text) {
    return text.size() == 19 &&
           QDateTime::fromString(QString::fromStdString(text), DateTimeFormat).isValid();
}

// Optional sign and at most five digits; value in [min, max].
bool ParseNumber(const std::string& text, bool allowMinus, bool allowPlus, int min, int max,
                 int& value) {
    std::string digits = text;
    int sign = 1;
    if (!digits.empty() && ((digits[0] == '-' && allowMinus) || (digits[0] == '+' && allowPlus))) {
        sign = digits[0] == '-' ? -1 : 1;
        digits.erase(0, 1);
    }
    if (!IsDigits(digits) || digits.size() > 5)
        return false;
    value = sign * std::atoi(digits.c_str());
    return value >= min && value <= max;
}

std::string Noise(std::size_t length) {
    static const std::string junk = "~#%&?^*=";
    std::string noise;
    for (std::size_t i = 0; i < length; ++i)
        noise.push_back(junk[i % junk.size()]);
    return noise;
}

} // namespace

void SimGauge::HandleByte(std::uint8_t byte, double atMs) {
    if (mode_ != Mode::Application) {
        LoaderByte(byte, atMs);
        return;
    }
    command_.push_back(static_cast<char>(byte));
    if (command_.size() > 256) // endless noise without "!": keep the tail only
        command_.erase(0, command_.size() - 256);
    if (byte == '!') {
        std::string command;
        command.swap(command_);
        Answer(command, atMs);
    }
}

void SimGauge::Answer(const std::string& command, double end) {
    commands_.push_back(command);
    commandEndMs_ = end;
    const std::string self(1, settings_.address);
    if (command == "?!") {
        Reply(self, end);
        return;
    }
    if (command.size() < 2 || command[0] != settings_.address)
        return; // another sensor's command
    const std::string body = command.substr(1, command.size() - 2);

    if (body.empty()) {
        Reply(self, end);
    } else if (body == "I") {
        Reply(self + Identification(), end);
    } else if (body.size() == 2 && body[0] == 'A') {
        if (IsAddress(body[1])) {
            settings_.address = body[1];
            Reply(std::string(1, body[1]), end);
        }
    } else if (body[0] == 'M' || body[0] == 'C' || body == "V") {
        const auto announcement = StartMeasurement(body, end);
        if (!announcement)
            return;
        const auto sent = Reply(self + *announcement, end);
        // A gauge that does not answer does not report either.
        const bool serviceRequest = body[0] == 'M' && announcement->back() != '0';
        if (serviceRequest && sent)
            serviceRequestAt_ = *sent + 1000.0 - 100.0;
    } else if (body[0] == 'R') {
        if (const auto values = ContinuousReply(body, end))
            Reply(*values, end);
    } else if (body.size() == 2 && body[0] == 'D' && IsDigits(body.substr(1))) {
        if (const auto data = DataReply(body[1] - '0'))
            Reply(*data, end);
    } else if ((body == "OXU+0472" || body == "OXU+0391") && !faults_.noLoader) {
        const auto sent = faults_.silentLoaderSwitch ? std::optional<double>() : Reply(self, end);
        pendingLoaderBaud_ = body == "OXU+0472" ? 4800 : 115200;
        loaderSwitchAt_ = sent.value_or(end);
    } else if (body[0] == 'O') {
        if (const auto content = Extended(body))
            Reply(self + *content, end);
    }
}

std::optional<std::string> SimGauge::StartMeasurement(const std::string& body, double now) {
    if (body == "V") {
        measurement_ = Measurement{{"+0"}, 35, false};
        return std::string("0001");
    }
    const bool concurrent = body[0] == 'C';
    std::string rest = body.substr(1);
    const bool crc = !rest.empty() && rest[0] == 'C';
    if (crc)
        rest.erase(0, 1);
    if (rest.size() > 1 || (!rest.empty() && !IsDigits(rest)))
        return std::nullopt;
    const int group = rest.empty() ? 0 : rest[0] - '0';

    Measurement m;
    m.crc = crc;
    m.maxChars = concurrent ? 75 : 35;
    if (group == 0) {
        if (lastMeasurementMs_ > 0.0 && now > lastMeasurementMs_) {
            const double hours = std::min(now - lastMeasurementMs_, 3600000.0) / 3600000.0;
            state_.accumulatedTotal += SimValues::IntensityAt(now) * hours;
        }
        lastMeasurementMs_ = std::max(now, 1e-3);
        SimValues::Inputs inputs{now, state_.accumulatedTotal, state_.bucketContent,
                                 state_.heatingMode, faults_.statusBits};
        if (state_.testMode) {
            // The test weights, in the unit of the gauge's intensity setting.
            const double mm = bucket_.ReadGram(now) / SimBucket::GramPerMm(state_.gaugeType);
            const bool inch = state_.intensityUnit >= 2;
            inputs.bucketContent = inch ? mm / 25.4 : mm;
            inputs.bucketDecimals = inch ? 5 : 3;
        }
        m.values = SimValues::MainValues(inputs);
        if (faults_.mainValueCount >= 0 &&
            static_cast<std::size_t>(faults_.mainValueCount) < m.values.size())
            m.values.resize(static_cast<std::size_t>(faults_.mainValueCount));
    } else if (group == 1) {
        m.values = SimValues::AuxValues(now);
    }
    const std::size_t announced = m.values.size();
    if (faults_.valueCountDelta > 0)
        m.values.insert(m.values.end(), static_cast<std::size_t>(faults_.valueCountDelta), "+0.00");
    else if (faults_.valueCountDelta < 0)
        m.values.resize(m.values.size() - std::min(m.values.size(), static_cast<std::size_t>(
                                                                        -faults_.valueCountDelta)));
    measurement_ = m;

    const std::string seconds = announced > 0 ? "001" : "000";
    std::string count = std::to_string(announced);
    STRING_CONCAT_RESTRICT_BEGIN
    if (concurrent && count.size() < 2)
        count.insert(0, "0");
STRING_CONCAT_RESTRICT_END
    return seconds + count;
}

std::optional<std::string> SimGauge::DataReply(int index) const {
    const std::string self(1, settings_.address);
    if (!measurement_)
        return self;
    const auto replies = SimValues::SplitIntoReplies(measurement_->values, measurement_->maxChars);
    std::string text = self;
    if (index >= 0 && static_cast<std::size_t>(index) < replies.size())
        text += replies[static_cast<std::size_t>(index)];
    if (measurement_->crc)
        text += SimValues::Crc(text);
    return text;
}

std::optional<std::string> SimGauge::ContinuousReply(const std::string& body, double now) {
    std::string rest = body.substr(1);
    const bool crc = !rest.empty() && rest[0] == 'C';
    if (crc)
        rest.erase(0, 1);
    if (rest.size() != 1 || !IsDigits(rest))
        return std::nullopt;
    std::vector<std::string> values;
    if (rest[0] == '0')
        values = SimValues::MainValues(SimValues::Inputs{now, state_.accumulatedTotal,
                                                         state_.bucketContent, state_.heatingMode,
                                                         faults_.statusBits});
    else if (rest[0] == '1')
        values = SimValues::AuxValues(now);
    std::string text(1, settings_.address);
    for (const std::string& value : values)
        text += value;
    if (crc)
        text += SimValues::Crc(text);
    return text;
}

std::string SimGauge::Identification() const {
    static const char* const models[] = {"TESSR2", "TESR2L", "TESR2S"};
    const int model = std::clamp(settings_.model, 0, 2);
    std::string version;
    for (char c : state_.firmwareVersion)
        if (c >= '0' && c <= '9' && version.size() < 3)
            version.push_back(c);
    version.resize(3, '0');
    return "13" + std::string("AXO     ") + models[model] + version +
           state_.serialNumber.substr(0, 13);
}

std::optional<std::string> SimGauge::Extended(const std::string& body) {
    if (body == "OOE0") {
        state_.writeOpen = true;
        return std::string("0");
    }
    if (body == "OOE1") {
        state_.writeOpen = false;
        return std::string("1");
    }
    if (body == "OTC1" || body == "OTC0") {
        state_.testMode = body == "OTC1";
        return body.substr(3);
    }
    if (body == "OZY") {
        if (settings_.model == 2)
            return std::string("3");
        if (settings_.model == 1)
            return std::string("1");
        return std::nullopt;
    }
    if (body == "OOV")
        return state_.firmwareVersion;
    if (body == "OOS")
        return state_.serialNumber;
    if (body == "OOB")
        return state_.hardwareIndex;
    if (body == "OCB")
        return std::to_string(state_.gaugeType);
    if (body == "OTM")
        return ClockText(commandEndMs_);
    if (body == "ODC")
        return state_.lastConfiguration;
    if (body == "ODF")
        return state_.lastFirmwareUpdate;

    // Everything else changes the gauge: only inside the write bracket.
    const bool setter = body.rfind("OTM", 0) == 0 || body.rfind("ODC", 0) == 0 ||
                        body.rfind("ODF", 0) == 0 || body == "OMR";
    if (setter && !state_.writeOpen)
        return std::nullopt;
    if (body == "OMR") {
        state_.accumulatedTotal = 0.0;
        return std::string("1");
    }
    if (body.rfind("OTM", 0) == 0)
        return SetClock(body.substr(3), commandEndMs_) ? std::optional<std::string>(body.substr(3)) : std::nullopt;
    if (body.rfind("ODC", 0) == 0 || body.rfind("ODF", 0) == 0) {
        const std::string date = body.substr(3);
        if (!IsDateTime(date))
            return std::nullopt;
        (body[2] == 'C' ? state_.lastConfiguration : state_.lastFirmwareUpdate) = date;
        return date;
    }
    return Setting(body);
}

std::optional<std::string> SimGauge::Setting(const std::string& body) {
    enum class Kind { Digit, Unsigned, Heating, Threshold, Time };
    struct Entry {
        const char* code;
        Kind kind;
        int State::*field;
        int min;
        int max;
    };
    const bool model0 = settings_.model == 0;
    // Longer codes first: "OCHS" must not be taken for "OCH" + "S".
    const Entry table[] = {
        {"OCHS", Kind::Heating, &State::heatingTemperature, 0, 99},
        {"OCHG", Kind::Threshold, &State::heatingThreshold, -99, 99},
        {"OCHD", Kind::Unsigned, &State::heatingDuration, 0, 9999},
        {"OCHT", Kind::Unsigned, &State::heatingSelfTest, 0, 99999},
        {"OCHZ", Kind::Time, nullptr, 0, 0},
        // Model 0 knows deactivated and permanent; models 1 and 2 add modes 2 to 4.
        {"OCH", Kind::Digit, &State::heatingMode, 0, model0 ? 1 : 4},
        {"OCL", Kind::Digit, &State::communicationInterface, 0, model0 ? 1 : 2},
        {"OCM", Kind::Digit, &State::protocolType, 0, model0 ? 5 : 2},
        {"OCI", Kind::Digit, &State::impulseFrequency, 0, 1},
        {"OCR", Kind::Digit, &State::asciiBaud, 0, model0 ? -1 : 6},
        {"OSI", Kind::Digit, &State::impulseFactor, 0, 4},
        {"OUT", Kind::Digit, &State::temperatureUnit, 0, 1},
        {"OUI", Kind::Digit, &State::intensityUnit, 0, 3},
    };
    for (const Entry& e : table) {
        const std::string code(e.code);
        if (body.rfind(code, 0) != 0)
            continue;
        const std::string value = body.substr(code.size());
        if (e.kind != Kind::Time && e.max < e.min)
            return std::nullopt; // not offered by this model
        if (value.empty()) {
            switch (e.kind) {
            case Kind::Time:
                return state_.heatingSwitchTime;
                STRING_CONCAT_RESTRICT_BEGIN
            case Kind::Heating:
                return "+" + std::to_string(state_.*e.field);
            case Kind::Threshold:
                return (state_.*e.field < 0 ? "" : "+") + std::to_string(state_.*e.field);
STRING_CONCAT_RESTRICT_END
            default:
                return std::to_string(state_.*e.field);
            }
        }
        if (!state_.writeOpen)
            return std::nullopt;
        int number = 0;
        bool valid = false;
        switch (e.kind) {
        case Kind::Time:
            valid = IsTimeOfDay(value);
            if (valid)
                state_.heatingSwitchTime = value;
            return valid ? std::optional<std::string>(value) : std::nullopt;
        case Kind::Digit:
            valid = value.size() == 1 && ParseNumber(value, false, false, e.min, e.max, number);
            break;
        case Kind::Unsigned:
            valid = ParseNumber(value, false, false, e.min, e.max, number);
            break;
        case Kind::Heating:
            valid = ParseNumber(value, false, true, e.min, e.max, number);
            break;
        case Kind::Threshold:
            valid = ParseNumber(value, true, true, e.min, e.max, number);
            break;
        }
        if (!valid)
            return std::nullopt;
        state_.*e.field = number;
        return value;
    }
    return std::nullopt;
}

void SimGauge::PinClock(const QDateTime& when, double atMs) {
    pinnedClock_ = PinnedClock{when, atMs};
}

QDateTime SimGauge::ClockAt(double atMs) const {
    if (pinnedClock_)
        return pinnedClock_->when.addMSecs(static_cast<qint64>(atMs - pinnedClock_->atMs));
    return QDateTime::currentDateTime().addMSecs(static_cast<qint64>(state_.clockOffsetMs));
}

std::string SimGauge::ClockText(double atMs) const {
    return ClockAt(atMs).toString(DateTimeFormat).toStdString();
}

bool SimGauge::SetClock(const std::string& text, double atMs) {
    const QDateTime wanted = QDateTime::fromString(QString::fromStdString(text), DateTimeFormat);
    if (!wanted.isValid())
        return false;
    if (pinnedClock_)
        PinClock(wanted, atMs);
    else
        state_.clockOffsetMs = static_cast<double>(QDateTime::currentDateTime().msecsTo(wanted));
    return true;
}

std::optional<double> SimGauge::Reply(const std::string& text, double end) {
    const bool anyFault =
        faults_.silent || faults_.garbage || faults_.noLineEnd || faults_.firstByteDelayMs > 0.0;
    const bool apply = anyFault && faults_.faultyReplies != 0;
    if (apply && faults_.faultyReplies > 0)
        --faults_.faultyReplies;
    std::string line = text + "\r\n";
    double start = end + settings_.replyLatencyMs;
    if (apply) {
        if (faults_.silent)
            return std::nullopt;
        if (faults_.garbage)
            line = Noise(text.size()) + "\r\n";
        if (faults_.noLineEnd)
            line.resize(line.size() - 2);
        start += faults_.firstByteDelayMs;
    }
    return Send(line, start);
}
