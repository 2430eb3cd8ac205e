#pragma once

// Shared by the fuzz targets.

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <cstdlib>

// A broken expectation is a finding: the fuzzer keeps the input.
inline void Check(bool condition) {
    if (!condition)
        std::abort();
}

// A folder for the files a target writes, in memory where the system offers
// it: a million runs write a million files.
inline QString FuzzFolder() {
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/tessra-fuzz-XXXXXX")
                                 : QString());
    return dir.path();
}
