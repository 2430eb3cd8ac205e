#pragma once

// Folders the work areas offer in their file dialogs. The main window reads
// them from settings.ini at start-up and writes them back when it closes;
// the work areas read and update them when the user picks a folder.

#include <QString>

extern QString FirmwarePath; // "FIRMWAREPATH"
extern QString ValuePath;    // "VALUEPATH"
extern QString ParamPath;    // "PARAMPATH"
// "REPORTPATH": where the accuracy test's report was exported last; empty
// until then (the report is then offered in the measurement folder).
extern QString ReportPath;

// The program's folder, ending with the path separator.
QString ProgramFolder();
// The folder of filePath, ending with the path separator.
QString FolderOf(const QString& filePath);
