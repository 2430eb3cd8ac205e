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

// Formats the reports as the trace's text lines: "+S.UUUUUU  text", the
// seconds and microseconds since startMs, and hands each line to Write.
class TextTrace : public TraceSink {
public:
    explicit TextTrace(double startMs) : startMs_(startMs) {}

    void Attempt(double atMs, int attempt, int attempts, const std::string& command,
                 const std::string& reply, double elapsedMs) override;
    void Awaited(double atMs, const std::string& expected, const std::string& received,
                 bool matched, double elapsedMs) override;
    void Block(double atMs, int block, int tryNumber, const std::string& outcome) override;
    void Note(double atMs, const std::string& text) override;

protected:
    // One line, without its line end.
    virtual void Write(const std::string& line) = 0;
    void Line(double atMs, const std::string& text);

private:
    double startMs_;
};

// Writes the trace as plain text lines. The file is written line by line
// (not replaced at the end), so that it holds everything up to a crash. A
// file that cannot be opened or written is reported once through the
// warning given and then left alone: a trace is never a reason to fail.
class FileTrace : public TextTrace {
public:
    // warn receives the path, once, when the trace cannot be written;
    // startMs: the clock reading the time stamps count from.
    FileTrace(const std::string& path, const std::string& header, double startMs,
              void (*warn)(const std::string& path));
    ~FileTrace() override;
    FileTrace(const FileTrace&) = delete;
    FileTrace& operator=(const FileTrace&) = delete;

    bool Writing() const;

protected:
    void Write(const std::string& line) override;

private:
    struct File;
    std::unique_ptr<File> file_;
    std::string path_;
    void (*warn_)(const std::string&);
    bool warned_ = false;
};

// The trace of one stretch of work kept in memory, for instance the readings
// of an accuracy test, to be saved beside its results. While it lives it is
// the installed trace, and passes every report on to the trace installed
// before it, so a --trace file still gets everything.
class RecordedTrace final : public TextTrace {
public:
    explicit RecordedTrace(double startMs);
    ~RecordedTrace() override;
    RecordedTrace(const RecordedTrace&) = delete;
    RecordedTrace& operator=(const RecordedTrace&) = delete;

    // The lines so far, each ended by a line feed.
    const std::string& Text() const { return text_; }

    void Attempt(double atMs, int attempt, int attempts, const std::string& command,
                 const std::string& reply, double elapsedMs) override;
    void Awaited(double atMs, const std::string& expected, const std::string& received,
                 bool matched, double elapsedMs) override;
    void Block(double atMs, int block, int tryNumber, const std::string& outcome) override;
    void Note(double atMs, const std::string& text) override;

protected:
    void Write(const std::string& line) override;

private:
    TraceSink* previous_;
    std::string text_;
};
