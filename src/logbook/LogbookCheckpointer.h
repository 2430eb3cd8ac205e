#pragma once

// Copies the logbook's write-ahead log into its file in a thread of its
// own, a while after entries were written, so that writing an entry never
// waits for that copy and its sync to the disk. The last copy is made when
// the program's logbook closes.

#include <QString>
#include <memory>

class LogbookCheckpointer {
public:
    // pauseMs: the least time between two copies.
    explicit LogbookCheckpointer(QString path, int pauseMs = 2000);
    ~LogbookCheckpointer();
    LogbookCheckpointer(const LogbookCheckpointer&) = delete;
    LogbookCheckpointer& operator=(const LogbookCheckpointer&) = delete;

    // An entry was written. Never waits.
    void Poke();

private:
    struct Shared;
    std::unique_ptr<Shared> shared_;
};
