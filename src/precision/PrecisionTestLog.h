#pragma once

// The log file of a precision test: ten lines of 8-bit text, each a label,
// ": " and a value, ended by CR LF. It is written beside the program; when
// the program's folder cannot be written (an installed program), into the
// per-user data folder instead. The path returned is the one written.

#include "precision/PrecisionTestRecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace Precision {

// "PrecisionTest_" + yyyy_MM_dd_hh_mm_ss + ".log".
QString TestLogFileName(const QDateTime& when);
// The ten lines as written: labels in the current language, the date of
// when, the values of record, in the code page of the current language.
QByteArray TestLogBytes(const PrecisionTestRecord& record, const QDateTime& when);
// The values of the log for the logbook: every weight, total, permitted
// deviation and deviation by its name (TestWeightMm ... DeviationInch), the
// gauge's details and the verdict.
QJsonObject TestLogValues(const PrecisionTestRecord& record);

struct LogFolders {
    QString program; // the program's own folder
    QString perUser; // the per-user data folder
};
// The running program's two folders.
LogFolders ProgramLogFolders();

// The name of the SDI-12 trace of a test's readings, kept beside its log:
// the log's name with ".trace.txt" in place of ".log".
QString TestTraceFileName(const QDateTime& when);

struct LogWriteResult {
    QString path;       // the file written, empty when none could be
    QString tracePath;  // the trace written beside it, empty when none was
    QStringList failed; // the paths tried in vain, in order
    bool Written() const { return !path.isEmpty(); }
};
// Writes the log of record (dated when) into the first folder that takes it,
// replacing a file of the same name there, and the trace of the readings
// beside it (unless trace is empty). A trace that cannot be written leaves
// the log as it is.
LogWriteResult WriteTestLog(const PrecisionTestRecord& record, const QDateTime& when,
                            const LogFolders& folders, const QByteArray& trace = {});

} // namespace Precision
