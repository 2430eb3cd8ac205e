// Export and import of the configuration work area's rows as a configuration file.

#include "config/ParameterFrame.h"

#include "config/ConfigurationFile.h"
#include "config/ConfigurationSequence.h"
#include "gauge/SDIHandler.h"
#include "logbook/KnownGauge.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookEvents.h"
#include "ui/Dialogs.h"
#include "ui/FolderSettings.h"
#include "ui/WideLanguageHandler.h"

#include <QDir>
#include <QFile>
#include <optional>

using namespace Config;

namespace {

constexpr int ExportTitleText = 142;
constexpr int ImportTitleText = 143;
const QString FileFilter = QStringLiteral("Text files (*.txt *.TXT)");

void ShowError(const QString& message) {
    ShowMessageDialog(message, MsgKind::Error, MsgButtons::Ok);
}

} // namespace

bool TParameterFrame::WriteToFileButtonClick() {
    FileDialogRequest request;
    request.title = GetText(ExportTitleText);
    request.filter = FileFilter;
    request.folder = ParamPath;
    request.fileName = QStringLiteral("Export.txt");
    request.defaultSuffix = QStringLiteral("txt");
    // The export updates an existing file in place and keeps its other lines.
    request.confirmOverwrite = false;
    const QString path = Dialogs().SaveFile(request);
    if (path.isEmpty())
        return false;
    ParamPath = FolderOf(path);

    // An existing file is updated in place: its other lines must survive.
    const QString failure =
        WriteConfigurationFile(path, *rows_, gauge_.SupportsImpulseFactor(rows_->Model()));
    if (!failure.isEmpty()) {
        ShowError(failure);
        return false;
    }
    ReportToLogbook(ConfigurationExported(KnownGauge(gauge_), path));
    QDir::setCurrent(ParamPath);
    return true;
}

bool TParameterFrame::ReadFromFileButtonClick() {
    FileDialogRequest request;
    request.title = GetText(ImportTitleText);
    request.filter = FileFilter;
    request.folder = ParamPath;
    const QString path = Dialogs().OpenFile(request);
    if (path.isEmpty())
        return false;
    ParamPath = FolderOf(path);

    QString refusal;
    const std::optional<IniDocument> document =
        ReadConfigurationFile(path, rows_->Model(), refusal);
    if (!document) {
        ShowError(refusal);
        return false;
    }

    SelectModel(rows_->Model());
    ImportConfiguration(*document, *sequence_);
    ReportToLogbook(ConfigurationImported(KnownGauge(gauge_), path));
    SyncAll();
    QDir::setCurrent(ParamPath);
    return true;
}
