#include "link/TrafficTrace.h"

#include <cinttypes>
#include <cstdio>

namespace {

TraceSink* installed = nullptr;

std::string Milliseconds(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms", ms);
    return text;
}

} // namespace

TraceSink* ActiveTrace() {
    return installed;
}

void InstallTrace(TraceSink* sink) {
    installed = sink;
}

std::string PrintableBytes(const std::string& bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\r') {
            text += "<CR>";
        } else if (byte == '\n') {
            text += "<LF>";
        } else if (byte >= 0x20 && byte < 0x7F && byte != '<') {
            text += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%02X>", byte);
            text += hex;
        }
    }
    return text;
}

void TextTrace::Line(double atMs, const std::string& text) {
    const auto micros = static_cast<std::int64_t>((atMs - startMs_) * 1000.0);
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%s%" PRId64 ".%06" PRId64 "  ", micros < 0 ? "-" : "+",
                  (micros < 0 ? -micros : micros) / 1000000,
                  (micros < 0 ? -micros : micros) % 1000000);
    Write(stamp + text);
}

void TextTrace::Attempt(double atMs, int attempt, int attempts, const std::string& command,
                        const std::string& reply, double elapsedMs) {
    std::string text = "SDI-12  " + PrintableBytes(command) + "  attempt " +
                       std::to_string(attempt) + "/" + std::to_string(attempts) + "  ";
    text += reply.empty() ? "no reply" : "reply " + PrintableBytes(reply);
    Line(atMs, text + "  (" + Milliseconds(elapsedMs) + ")");
}

void TextTrace::Awaited(double atMs, const std::string& expected, const std::string& received,
                        bool matched, double elapsedMs) {
    std::string text = "SDI-12  waiting for " + PrintableBytes(expected) + "  ";
    if (matched)
        text += "received";
    else if (received.empty())
        text += "nothing came";
    else
        text += "got " + PrintableBytes(received) + " instead";
    Line(atMs, text + "  (" + Milliseconds(elapsedMs) + ")");
}

void TextTrace::Block(double atMs, int block, int tryNumber, const std::string& outcome) {
    Line(atMs, "XModem  block " + std::to_string(block) + "  try " + std::to_string(tryNumber) +
                   "  " + outcome);
}

void TextTrace::Note(double atMs, const std::string& text) {
    Line(atMs, "note    " + text);
}

struct FileTrace::File {
    std::FILE* handle = nullptr;
    ~File() {
        if (handle != nullptr)
            std::fclose(handle);
    }
};

FileTrace::FileTrace(const std::string& path, const std::string& header, double startMs,
                     void (*warn)(const std::string& path))
    : TextTrace(startMs), file_(std::make_unique<File>()), path_(path), warn_(warn) {
    file_->handle = std::fopen(path.c_str(), "wb");
    if (file_->handle == nullptr) {
        warned_ = true;
        if (warn_ != nullptr)
            warn_(path_);
        return;
    }
    if (!header.empty())
        Line(startMs, "# " + header);
}

FileTrace::~FileTrace() = default;

bool FileTrace::Writing() const {
    return file_->handle != nullptr;
}

void FileTrace::Write(const std::string& line) {
    if (file_->handle == nullptr)
        return;
    const bool ok = std::fprintf(file_->handle, "%s\n", line.c_str()) > 0 &&
                    std::fflush(file_->handle) == 0;
    if (!ok) {
        std::fclose(file_->handle);
        file_->handle = nullptr;
        if (!warned_ && warn_ != nullptr)
            warn_(path_);
        warned_ = true;
    }
}

RecordedTrace::RecordedTrace(double startMs) : TextTrace(startMs), previous_(ActiveTrace()) {
    InstallTrace(this);
}

RecordedTrace::~RecordedTrace() {
    if (ActiveTrace() == this)
        InstallTrace(previous_);
}

void RecordedTrace::Write(const std::string& line) {
    text_ += line;
    text_ += '\n';
}

void RecordedTrace::Attempt(double atMs, int attempt, int attempts, const std::string& command,
                            const std::string& reply, double elapsedMs) {
    if (previous_ != nullptr)
        previous_->Attempt(atMs, attempt, attempts, command, reply, elapsedMs);
    TextTrace::Attempt(atMs, attempt, attempts, command, reply, elapsedMs);
}

void RecordedTrace::Awaited(double atMs, const std::string& expected, const std::string& received,
                            bool matched, double elapsedMs) {
    if (previous_ != nullptr)
        previous_->Awaited(atMs, expected, received, matched, elapsedMs);
    TextTrace::Awaited(atMs, expected, received, matched, elapsedMs);
}

void RecordedTrace::Block(double atMs, int block, int tryNumber, const std::string& outcome) {
    if (previous_ != nullptr)
        previous_->Block(atMs, block, tryNumber, outcome);
    TextTrace::Block(atMs, block, tryNumber, outcome);
}

void RecordedTrace::Note(double atMs, const std::string& text) {
    if (previous_ != nullptr)
        previous_->Note(atMs, text);
    TextTrace::Note(atMs, text);
}
