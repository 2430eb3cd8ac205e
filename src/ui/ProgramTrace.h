#pragma once

// The traffic trace of one run (--trace FILE): opens the file, installs it
// as the link's trace sink for the lifetime of the object and removes it
// again. When the file cannot be written the program says so once, in its
// language, on standard error (or through the given sink of messages), and
// goes on without it.

#include "link/TrafficTrace.h"

#include <QString>
#include <functional>
#include <memory>

class ProgramTrace {
public:
    // program: the name put in the trace's first line. warn receives the
    // one message; by default it goes to standard error.
    ProgramTrace(const QString& path, const QString& program,
                 std::function<void(const QString&)> warn = {});
    ~ProgramTrace();
    ProgramTrace(const ProgramTrace&) = delete;
    ProgramTrace& operator=(const ProgramTrace&) = delete;

    bool Writing() const { return trace_ && trace_->Writing(); }

    // Text 800 for path: the trace cannot be written, the program goes on.
    static QString WarningText(const QString& path);

private:
    std::unique_ptr<FileTrace> trace_;
    std::function<void(const QString&)> warn_;
};
