#pragma once

// The configuration backup taken before every firmware update: the
// connected gauge's configuration, read with the configuration area's read
// sequence and saved as a configuration file (the file the configuration
// area imports) in the per-user data folder, named with the gauge's serial
// number and the time. A backup is saved only when every setting the model
// shows was read; a partly read configuration would put the defaults of the
// unread rows back onto the gauge when imported.

#include <QDateTime>
#include <QString>

class TSDIHandler;

namespace Firmware {

struct BackupResult {
    bool saved = false;
    QString file;    // the file written (when saved) or meant to be written
    QString failure; // why none was saved, in the current language
};

// Where backups go unless the caller names another folder: "Backups" in
// the per-user data folder.
QString DefaultBackupFolder();

// "Tessra2_<serial>_<yyyy-MM-dd_HH-mm-ss>.txt": the serial number with
// every character that cannot be in a file name replaced by "_", or
// "unknown" when the gauge did not tell it.
QString BackupFileName(const QString& serialNumber, const QDateTime& when);

// Reads the configuration of the gauge of model (0, 1 or 2) and saves it in
// folder (created when missing). A file of that name already there (two
// backups within a second) is kept; the new one gets a number appended.
BackupResult SaveConfigurationBackup(TSDIHandler& gauge, int model, const QString& folder,
                                     const QDateTime& when);

} // namespace Firmware
