#pragma once

// Makes this process's file writes fail beyond a size, as on a full disk: a
// write that crosses the limit writes what fits and then fails, instead of
// ending the process. The limit and the signal's handling are restored at
// the end of the scope.

#include <QtGlobal>

class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // false where the system offers no such limit (the test then skips).
    bool Active() const { return active_; }

private:
    bool active_ = false;
    quint64 savedLimit_ = 0;
    void (*savedHandler_)(int) = nullptr;
};
