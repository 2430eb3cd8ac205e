#include "measurement/FileSync.h"

#include <QtGlobal>

#if defined(Q_OS_WIN)

#include <QFileDevice>

#include <io.h>
#include <windows.h>

bool SyncFileData(QFileDevice& file, QString* error) {
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    if (handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle))
        return true;
    if (error != nullptr)
        *error = qt_error_string(static_cast<int>(GetLastError()));
    return false;
}

#endif
