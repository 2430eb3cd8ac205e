#pragma once

// XModem-CRC sender: sends a firmware image file to the gauge's loader in
// 128-byte blocks with a CRC-16, directly on the adapter port (receive-queue
// polling, InBuffer, OutBuffer, purges, and ReopenPort for the speed switch
// of the start handshake). One object serves one update:
//   OpenFirmwareFile -> SynchronizeReceiver -> SendFirmwareFile
// (the file may also be opened after the handshake). Every progress and
// error text goes to OnLog.
//
// All waits run on the installed clock, poll without sleeping and let the
// window process its messages on every pass, so the cancel button can set
// UpdateCancelled while a transfer runs.

#include <QFile>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>

class XModemProgress;

namespace XModem {
constexpr char SOH = 0x01;
constexpr char EOT = 0x04;
constexpr char ACK = 0x06;
constexpr char NAK = 0x15;
constexpr char CAN = 0x18;
constexpr char CrcRequest = 'C';

constexpr std::uint32_t DataBytes = 128;
constexpr std::uint32_t PacketBytes = DataBytes + 5; // SOH, number, complement, data, CRC
constexpr double HandshakeWaitMs = 1000;
constexpr double CountdownWaitMs = 500;
constexpr double AcknowledgeWaitMs = 8000;
constexpr int BlockAttempts = 4;
} // namespace XModem

class TUSBXModem {
public:
    static constexpr std::uint32_t BlockBufferSize = 1280;

    std::int32_t BlockSize = XModem::DataBytes;
    // Number of the next block; its low 8 bits go on the wire. Kept within 0..255.
    std::int32_t BlockNumber = 1;
    std::int64_t FileSize = 0;
    // The image, open from OpenFirmwareFile until SendFirmwareFile ends.
    QFile FileStream;
    std::uint8_t BlockBuffer[BlockBufferSize] = {};
    // Receives every log text (8-bit text, UTF-8; received control bytes as they came).
    std::function<void(const std::string&)> OnLog;

    // Opens the image read-only and sets FileSize. On failure shows the error
    // dialog "ERROR: Could not open file / create stream" and returns false.
    bool OpenFirmwareFile(const QString& fileName);

    // Start handshake: waits for the receiver's "C" (or NAK), switching
    // between 4800 and 115200 baud once per cycle, at most two cycles. True
    // when the receiver is ready; false when it never answered or the update
    // was cancelled. A complete failure leaves the port at its starting speed.
    bool SynchronizeReceiver();

    // Sends the open file and the end of transmission. True only when the
    // receiver acknowledged the end of transmission. The file is released
    // in every case. progress may be null.
    bool SendFirmwareFile(XModemProgress* progress);

    // One block of count data bytes (1 .. 1024; the sender uses 128) with up
    // to four attempts. On the acknowledgement BlockNumber moves on.
    bool SendBlock(const std::uint8_t* data, std::uint32_t count);

    // Polls the receive queue until the expected character, NAK or CAN has
    // arrived or timeoutMs have passed. received is set to the one character
    // that ended the wait, and stays empty at the timeout. With confirm set,
    // the expected character ends the wait only one pass after it was first
    // seen (what else has arrived is drained first); at a timeout in between,
    // received holds the expected character.
    void WaitForChar(char expected, double timeoutMs, std::string& received, bool confirm);

    // The adapter stopped answering (unplugged, its line hung up) during the
    // last wait: the waits end at once then, and no block is tried again.
    bool PortLost() const { return portLost_; }

    // CRC-16/XMODEM (polynomial 0x1021, initial 0, no reflection, no final
    // XOR) of count bytes of buffer starting at start.
    static std::uint16_t XModemCrc(const std::uint8_t* buffer, std::size_t count,
                                   std::size_t start);

private:
    void Log(const std::string& text) const;
    // After a write: lets the window process its messages until the line's
    // next event (at most one polling pass), before the wait for the answer.
    static void AwaitAnswer();
    // Reads the next block into BlockBuffer, filling a short last block with
    // 0xFF. Returns the bytes read: 0 at the end of the file, -1 on a read error.
    std::int64_t ReadNextBlock();
    // Ends SendFirmwareFile: releases the file and returns result.
    bool Release(bool result);

    bool portLost_ = false;
    // The block of the transfer being sent, counted from 1 (for the trace;
    // BlockNumber wraps at 256).
    std::int64_t blockIndex_ = 1;
};
