#include "ui/FolderSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString FirmwarePath;
QString ValuePath;
QString ParamPath;
QString ReportPath;

QString ProgramFolder() {
    QString folder = QCoreApplication::instance() != nullptr
                         ? QCoreApplication::applicationDirPath()
                         : QDir::currentPath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString FolderOf(const QString& filePath) {
    QString folder = QFileInfo(filePath).absolutePath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}
