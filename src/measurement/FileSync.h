#pragma once

// Asks the operating system to put a file's written data on the disk before
// returning, so that a power cut cannot take it any more.

#include <QString>

class QFileDevice;

// false and the system's reason in error when the system could not do it.
bool SyncFileData(QFileDevice& file, QString* error = nullptr);
