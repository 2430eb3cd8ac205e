#include "measurement/FileSync.h"

#include <QtGlobal>

#if defined(Q_OS_UNIX)

#include <QFileDevice>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

bool SyncFileData(QFileDevice& file, QString* error) {
    const int descriptor = file.handle();
    int result = -1;
    do {
#if defined(Q_OS_DARWIN)
        // fsync leaves the data in the drive's cache there; F_FULLFSYNC does not.
        result = ::fcntl(descriptor, F_FULLFSYNC);
        if (result == -1 && errno != EINTR)
            result = ::fsync(descriptor);
#else
        result = ::fdatasync(descriptor);
#endif
    } while (result == -1 && errno == EINTR);
    if (result == -1 && error != nullptr)
        *error = qt_error_string(errno);
    return result == 0;
}

#endif
