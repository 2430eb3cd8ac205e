#include "firmware/USBXModemUnit.h"

#include "firmware/UpdateCancelled.h"
#include "firmware/XModemProgress.h"
#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"
#include "link/TrafficTrace.h"
#include "ui/Dialogs.h"
#include "ui/WideLanguageHandler.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr int SwitchingBaudRateText = 593;
constexpr std::uint32_t LowSpeed = 4800;
constexpr std::uint32_t HighSpeed = 115200;
constexpr std::uint32_t MaxBlockData = 1024;
constexpr std::uint8_t Fill = 0xFF;
// Longest wait for an event between two polls that found nothing.
constexpr double PassWaitMs = 1.0;

constexpr std::array<std::uint16_t, 256> MakeCrcTable() {
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        std::uint16_t crc = static_cast<std::uint16_t>(i << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 0x8000) != 0 ? (crc << 1) ^ 0x1021 : crc << 1);
        table[i] = crc;
    }
    return table;
}
constexpr std::array<std::uint16_t, 256> CrcTable = MakeCrcTable();

std::string SwitchingText() {
    return GetText(SwitchingBaudRateText).toUtf8().toStdString();
}

QString PositionText(qint64 position, qint64 size) {
    return QString::number(position) + QStringLiteral(" / ") + QString::number(size);
}

// A block's answer as the trace names it.
std::string BlockOutcome(const std::string& received) {
    if (received.empty())
        return "timeout";
    if (received == std::string(1, XModem::ACK))
        return "ACK";
    if (received == std::string(1, XModem::NAK))
        return "NAK";
    if (received == std::string(1, XModem::CAN))
        return "CAN (receiver cancelled)";
    return "answer " + PrintableBytes(received);
}

void TraceBlock(std::int64_t block, int tryNumber, const std::string& received) {
    if (TraceSink* trace = ActiveTrace())
        trace->Block(TheClock().NowMs(), static_cast<int>(block), tryNumber,
                     BlockOutcome(received));
}

} // namespace

void TUSBXModem::Log(const std::string& text) const {
    if (OnLog)
        OnLog(text);
}

std::uint16_t TUSBXModem::XModemCrc(const std::uint8_t* buffer, std::size_t count,
                                    std::size_t start) {
    std::uint16_t crc = 0;
    for (std::size_t i = start; i < start + count; ++i)
        crc = static_cast<std::uint16_t>((crc << 8) ^ CrcTable[((crc >> 8) ^ buffer[i]) & 0xFF]);
    return crc;
}

bool TUSBXModem::OpenFirmwareFile(const QString& fileName) {
    FileStream.close();
    FileSize = 0;
    FileStream.setFileName(fileName);
    if (fileName.isEmpty() || !FileStream.open(QIODevice::ReadOnly)) {
        FileStream.close();
        ShowMessageDialog(QStringLiteral("ERROR: Could not open file / create stream"),
                          MsgKind::Error, MsgButtons::Ok);
        return false;
    }
    FileSize = FileStream.size();
    return true;
}

void TUSBXModem::WaitForChar(char expected, double timeoutMs, std::string& received, bool confirm) {
    using namespace D2XXDriver;
    Clock& clock = TheClock();
    received.clear();
    std::string collected;
    bool seen = false;
    const double start = clock.NowMs();
    double now = start;
    portLost_ = false;
    while (now - start < timeoutMs) {
        // A port that fails its queue query is gone: waiting on it cannot end well.
        if (GetRxQueueStatus() != FT_OK) {
            portLost_ = true;
            return;
        }
        if (RxQueueBytes != 0) {
            const std::uint32_t got = ReadToInBuffer(RxQueueBytes);
            collected.append(reinterpret_cast<const char*>(InBuffer), got);
            std::memset(InBuffer, 0, got);
        }
        const bool hasExpected = collected.find(expected) != std::string::npos;
        if (hasExpected && (!confirm || seen)) {
            received.assign(1, expected);
            return;
        }
        if (hasExpected) {
            seen = true;
            received.assign(1, expected);
        }
        if (collected.find(XModem::NAK) != std::string::npos) {
            received.assign(1, XModem::NAK);
            return;
        }
        if (collected.find(XModem::CAN) != std::string::npos) {
            received.assign(1, XModem::CAN);
            return;
        }
        // Wait for the line only when this pass brought nothing and nothing
        // is left to confirm; otherwise go round again at once.
        if (RxQueueBytes == 0 && !seen)
            clock.AwaitMessages(std::min(PassWaitMs, timeoutMs - (now - start)));
        else
            clock.ProcessMessages();
        now = clock.NowMs();
    }
}

void TUSBXModem::AwaitAnswer() {
    // Right after a write the receiver cannot have answered yet: the window
    // processes its messages, and the wait for the line's next event takes
    // the place of a look at the queue that would find it empty. An answer
    // already waiting ends this wait at once.
    TheClock().AwaitMessages(PassWaitMs);
}

bool TUSBXModem::SynchronizeReceiver() {
    using namespace D2XXDriver;
    Clock& clock = TheClock();
    std::string received;
    for (int cycle = 0; cycle < 2; ++cycle) {
        PurgeRx();
        PurgeTx();
        std::memset(InBuffer, 0, BufferSize);

        for (int attempt = 0; attempt < 10; ++attempt) {
            WaitForChar(XModem::CrcRequest, XModem::HandshakeWaitMs, received, true);
            clock.ProcessMessages();
            Log("XModem init: " + received);
            if (received == std::string(1, XModem::CrcRequest) ||
                received == std::string(1, XModem::NAK))
                return true;
            if (UpdateCancelled || portLost_)
                return false;
        }

        const std::string switching = SwitchingText();
        if (CurrentBaudRate == LowSpeed) {
            SDI12IO::ReopenPort(HighSpeed, 0, 0, 8);
            Log(switching + " 115200");
        } else {
            SDI12IO::ReopenPort(LowSpeed, 0, 0, 8);
            Log(switching + " 4800");
        }

        for (int n = 39; n >= 0; --n) {
            Log(switching + std::to_string(CurrentBaudRate) + " (" + std::to_string(n) + ")");
            WaitForChar(XModem::CrcRequest, XModem::CountdownWaitMs, received, true);
            if (received == std::string(1, XModem::CrcRequest))
                break;
            // A cancel must not wait for the rest of a 20 s countdown.
            if (UpdateCancelled || portLost_)
                return false;
        }
    }
    return false;
}

bool TUSBXModem::SendBlock(const std::uint8_t* data, std::uint32_t count) {
    using namespace D2XXDriver;
    if (data == nullptr || count == 0 || count > MaxBlockData)
        return false;
    const std::uint8_t number = static_cast<std::uint8_t>(BlockNumber & 0xFF);
    OutBuffer[0] = XModem::SOH;
    OutBuffer[1] = number;
    OutBuffer[2] = static_cast<std::uint8_t>(~number);
    std::memmove(OutBuffer + 3, data, count);
    const std::uint16_t crc = XModemCrc(OutBuffer, count, 3);
    OutBuffer[3 + count] = static_cast<std::uint8_t>(crc >> 8);
    OutBuffer[4 + count] = static_cast<std::uint8_t>(crc & 0xFF);

    std::string received;
    for (int t = 0; t < XModem::BlockAttempts; ++t) {
        if (WriteFromOutBuffer(count + 5) < count + 5)
            Log("Not all bytes transferred");
        AwaitAnswer();
        WaitForChar(XModem::ACK, XModem::AcknowledgeWaitMs, received, false);
        TraceBlock(blockIndex_, t + 1, received);
        if (received == std::string(1, XModem::ACK)) {
            BlockNumber = (BlockNumber + 1) & 0xFF;
            ++blockIndex_;
            return true;
        }
        Log("Received on Block " + std::to_string(BlockNumber) + " try " + std::to_string(t) +
            " InStr:" + received);
        if (UpdateCancelled || portLost_) {
            if (TraceSink* trace = ActiveTrace())
                trace->Note(TheClock().NowMs(), UpdateCancelled ? "XModem transfer cancelled"
                                                                : "XModem adapter lost");
            return false;
        }
    }
    return false;
}

std::int64_t TUSBXModem::ReadNextBlock() {
    const qint64 got = FileStream.read(reinterpret_cast<char*>(BlockBuffer), BlockSize);
    if (got > 0 && got < BlockSize)
        std::memset(BlockBuffer + got, Fill, static_cast<std::size_t>(BlockSize - got));
    return got;
}

bool TUSBXModem::Release(bool result) {
    FileStream.close();
    return result;
}

bool TUSBXModem::SendFirmwareFile(XModemProgress* progress) {
    using namespace D2XXDriver;
    // Without an open image there is nothing to send; an end of transmission
    // alone would be acknowledged and reported as a successful update.
    if (!FileStream.isOpen())
        return false;

    BlockSize = XModem::DataBytes;
    BlockNumber = 1;
    blockIndex_ = 1;
    const std::int64_t maximum = FileSize / XModem::DataBytes + 1;
    std::int64_t position = 0;
    if (progress != nullptr) {
        progress->SetMaximum(maximum);
        progress->SetPosition(position);
    }
    auto label = [progress](const QString& text) {
        if (progress != nullptr)
            progress->SetLabel(text);
    };

    FileStream.seek(0);
    label(PositionText(FileStream.pos(), FileSize));
    std::int64_t got = ReadNextBlock();
    while (got > 0 && !UpdateCancelled) {
        if (!SendBlock(BlockBuffer, static_cast<std::uint32_t>(BlockSize))) {
            label(QStringLiteral("Error uploading file"));
            return Release(false);
        }
        label(PositionText(FileStream.pos(), FileSize));
        ++position;
        if (progress != nullptr) {
            progress->SetPosition(position);
            progress->Repaint();
        }
        got = ReadNextBlock();
    }
    if (UpdateCancelled)
        return Release(false);
    // A read error must not end the transfer as if the image were complete.
    if (got < 0) {
        label(QStringLiteral("Error uploading file"));
        return Release(false);
    }

    OutBuffer[0] = XModem::EOT;
    WriteFromOutBuffer(1);
    AwaitAnswer();
    std::string received;
    WaitForChar(XModem::ACK, XModem::AcknowledgeWaitMs, received, false);
    std::erase(received, XModem::CrcRequest);
    if (TraceSink* trace = ActiveTrace())
        trace->Note(TheClock().NowMs(), "XModem  end of transmission  " + BlockOutcome(received));
    const bool result = received == std::string(1, XModem::ACK);
    if (result && progress != nullptr) {
        progress->SetPosition(maximum);
        progress->Repaint();
    }
    return Release(result);
}
