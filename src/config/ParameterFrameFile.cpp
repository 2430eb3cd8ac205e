// Export and import of the configuration work area's rows as a configuration file.

#include "config/ParameterFrame.h"

#include "config/ConfigurationFile.h"
#include "config/ConfigurationSequence.h"
#include "gauge/SDIHandler.h"
#include "ui/Dialogs.h"
#include "ui/FolderSettings.h"
#include "ui/GaugeVocabulary.h"
#include "ui/WideLanguageHandler.h"

#include <QDir>
#include <QFile>
#include <optional>

using namespace Config;

namespace {

constexpr int ExportTitleText = 142;
constexpr int ImportTitleText = 143;
constexpr int NoModelInFileText = 700;
constexpr int OtherModelInFileText = 701;
constexpr int FileNotReadText = 702;
constexpr int FileNotWrittenText = 703;
const QString FileFilter = QStringLiteral("Text files (*.txt *.TXT)");

void ShowFileError(int textId, const QString& argument) {
    ShowMessageDialog(GetText(textId).arg(QDir::toNativeSeparators(argument)), MsgKind::Error,
                      MsgButtons::Ok);
}

QString ModelName(int model) {
    return IsModel(model) ? Vocabulary::ModelName(model) : QStringLiteral("TYPE=%1").arg(model);
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
    IniDocument document;
    if (QFile::exists(path)) {
        const std::optional<IniDocument> existing = IniDocument::Load(path);
        if (!existing) {
            ShowFileError(FileNotReadText, path);
            return false;
        }
        document = *existing;
    }
    ExportConfiguration(*rows_, gauge_.SupportsImpulseFactor(rows_->Model()), document);

    if (!document.Save(path)) {
        ShowFileError(FileNotWrittenText, path);
        return false;
    }
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

    const std::optional<IniDocument> loaded = IniDocument::Load(path);
    if (!loaded) {
        ShowFileError(FileNotReadText, path);
        return false;
    }
    const IniDocument& document = *loaded;

    // List positions of one model mean other settings on another model's
    // lists: such a file is refused before anything changes.
    const std::optional<int> model = FileModel(document);
    if (!model) {
        ShowMessageDialog(GetText(NoModelInFileText), MsgKind::Error, MsgButtons::Ok);
        return false;
    }
    if (*model != rows_->Model()) {
        ShowMessageDialog(GetText(OtherModelInFileText).arg(ModelName(*model)), MsgKind::Error,
                          MsgButtons::Ok);
        return false;
    }

    SelectModel(*model);
    ImportConfiguration(document, *sequence_);
    SyncAll();
    QDir::setCurrent(ParamPath);
    return true;
}
