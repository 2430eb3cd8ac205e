#pragma once

// The traffic trace (--trace FILE): every SDI-12 transaction attempt with
// its command and reply, every service request awaited, and every XModem
// block outcome, with microseconds since the trace began. The link layer
// reports to the installed sink; nothing above it formats trace lines. With
// no sink installed (the default) each report costs one branch.

#include <cstdint>
#include <memory>
#include <string>

class TraceSink {
public:
    virtual ~TraceSink() = default;
    // One attempt of a transaction; reply empty: nothing came within the timeout.
    virtual void Attempt(double atMs, int attempt, int attempts, const std::string& command,
                         const std::string& reply, double elapsedMs) = 0;
    // A wait for the service request (or another expected text) and what arrived.
    virtual void Awaited(double atMs, const std::string& expected, const std::string& received,
                         bool matched, double elapsedMs) = 0;
    // The outcome of one XModem block ("ACK", "NAK", "timeout", ...).
    virtual void Block(double atMs, int block, int tryNumber, const std::string& outcome) = 0;
    // Anything else worth a line (a baud-rate change, the end of a transfer).
    virtual void Note(double atMs, const std::string& text) = 0;
};

// The installed sink, or null.
TraceSink* ActiveTrace();
// Installs sink (not owned); nullptr removes it.
void InstallTrace(TraceSink* sink);

// Bytes as a support engineer reads them: printable ASCII as it is, CR and
// LF as <CR> and <LF>, everything else as <xx> in hexadecimal.
std::string PrintableBytes(const std::string& bytes);

// Writes the trace as plain text lines. The file is written line by line
// (not replaced at the end), so that it holds everything up to a crash. A
// file that cannot be opened or written is reported once through the
// warning given and then left alone: a trace is never a reason to fail.
class FileTrace : public TraceSink {
public:
    // warn receives one sentence, in the program's language, when the trace
    // cannot be written; startMs: the clock reading the time stamps count from.
    FileTrace(const std::string& path, const std::string& header, double startMs,
              void (*warn)(const std::string& path));
    ~FileTrace() override;
    FileTrace(const FileTrace&) = delete;
    FileTrace& operator=(const FileTrace&) = delete;

    bool Writing() const;

    void Attempt(double atMs, int attempt, int attempts, const std::string& command,
                 const std::string& reply, double elapsedMs) override;
    void Awaited(double atMs, const std::string& expected, const std::string& received,
                 bool matched, double elapsedMs) override;
    void Block(double atMs, int block, int tryNumber, const std::string& outcome) override;
    void Note(double atMs, const std::string& text) override;

private:
    void Line(double atMs, const std::string& text);

    struct File;
    std::unique_ptr<File> file_;
    std::string path_;
    double startMs_;
    void (*warn_)(const std::string&);
    bool warned_ = false;
};
