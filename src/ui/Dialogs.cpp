#include "Dialogs.h"

#include "WideLanguageHandler.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include <algorithm>

namespace {

DialogProvider* installedProvider = nullptr;

QMessageBox::Icon IconOf(MsgKind kind) {
    switch (kind) {
    case MsgKind::Warning:
        return QMessageBox::Warning;
    case MsgKind::Error:
        return QMessageBox::Critical;
    case MsgKind::Information:
        return QMessageBox::Information;
    case MsgKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton StandardButtonOf(MsgResult button) {
    switch (button) {
    case MsgResult::Yes:
        return QMessageBox::Yes;
    case MsgResult::No:
        return QMessageBox::No;
    case MsgResult::Ok:
        return QMessageBox::Ok;
    case MsgResult::Cancel:
        return QMessageBox::Cancel;
    }
    return QMessageBox::NoButton;
}

MsgResult ResultOf(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Ok:
        return MsgResult::Ok;
    default:
        return MsgResult::Cancel;
    }
}

// The message box's own texts that the program's language files hold:
// the captions of its details button. Qt asks the installed translators
// for them whenever the button changes.
class MessageBoxTexts final : public QTranslator {
public:
    static constexpr int ShowDetailsTextId = 850;
    static constexpr int HideDetailsTextId = 851;

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override {
        (void)disambiguation;
        (void)n;
        if (qstrcmp(context, "QMessageBox") != 0 || sourceText == nullptr)
            return {};
        if (qstrcmp(sourceText, "Show Details...") == 0)
            return GetText(ShowDetailsTextId);
        if (qstrcmp(sourceText, "Hide Details...") == 0)
            return GetText(HideDetailsTextId);
        return {};
    }
    bool isEmpty() const override { return false; }
};

// Installs the message box texts while a dialog with details is shown.
class ScopedMessageBoxTexts {
public:
    ScopedMessageBoxTexts() { installed_ = QCoreApplication::installTranslator(&texts_); }
    ~ScopedMessageBoxTexts() {
        if (installed_)
            QCoreApplication::removeTranslator(&texts_);
    }
    ScopedMessageBoxTexts(const ScopedMessageBoxTexts&) = delete;
    ScopedMessageBoxTexts& operator=(const ScopedMessageBoxTexts&) = delete;

private:
    MessageBoxTexts texts_;
    bool installed_ = false;
};

MsgResult RunMessageBox(const QString& text, const QString& details, MsgKind kind,
                        MsgButtons buttons) {
    QMessageBox box(IconOf(kind), MessageCaption(kind), text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    for (MsgResult button : ButtonsOf(buttons))
        box.addButton(StandardButtonOf(button))->setText(GetText(ButtonTextId(button)));
    if (!details.isEmpty())
        box.setDetailedText(details);
    // Brought to the front before the modal loop starts.
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    box.raise();
    box.activateWindow();
    box.exec();
    return ResultOf(box.standardButton(box.clickedButton()));
}

SaveFileChoice RunFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.folder, request.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    if (!request.filterSuffixes.isEmpty()) {
        // The suffix goes on before the dialog asks about replacing a file.
        dialog.setDefaultSuffix(request.filterSuffixes.value(0));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, &request](const QString& filter) {
                             const qsizetype index = dialog.nameFilters().indexOf(filter);
                             dialog.setDefaultSuffix(request.filterSuffixes.value(index));
                         });
    } else if (!request.defaultSuffix.isEmpty()) {
        dialog.setDefaultSuffix(request.defaultSuffix);
    }
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const qsizetype filter = dialog.nameFilters().indexOf(dialog.selectedNameFilter());
    return {dialog.selectedFiles().value(0), static_cast<int>(std::max<qsizetype>(filter, 0))};
}

} // namespace

MsgResult RealDialogProvider::Message(const QString& text, MsgKind kind, MsgButtons buttons) {
    return RunMessageBox(text, QString(), kind, buttons);
}

MsgResult RealDialogProvider::MessageWithDetails(const QString& text, const QString& details,
                                                 MsgKind kind, MsgButtons buttons) {
    const ScopedMessageBoxTexts texts;
    return RunMessageBox(text, details, kind, buttons);
}

// The open notice boxes carry their key in this property.
constexpr const char* NoticeKey = "tessraNoticeKey";

void RealDialogProvider::WithdrawNotice(const QString& key) {
    if (key.isEmpty())
        return;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QStringLiteral("NoticeBox") &&
            top->property(NoticeKey).toString() == key)
            top->close();
}

void RealDialogProvider::Notice(const QString& text, MsgKind kind, const QString& key) {
    WithdrawNotice(key);
    auto* box = new QMessageBox(IconOf(kind), MessageCaption(kind), text, QMessageBox::NoButton,
                                QApplication::activeWindow());
    box->setObjectName(QStringLiteral("NoticeBox"));
    box->setProperty(NoticeKey, key);
    box->addButton(QMessageBox::Ok)->setText(GetText(ButtonTextId(MsgResult::Ok)));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

QString RealDialogProvider::OpenFile(const FileDialogRequest& request) {
    return RunFileDialog(request, QFileDialog::AcceptOpen).path;
}

QString RealDialogProvider::SaveFile(const FileDialogRequest& request) {
    return SaveFileWithFilter(request).path;
}

SaveFileChoice RealDialogProvider::SaveFileWithFilter(const FileDialogRequest& request) {
    return RunFileDialog(request, QFileDialog::AcceptSave);
}

DialogProvider& Dialogs() {
    static RealDialogProvider real;
    return installedProvider ? *installedProvider : real;
}

void InstallDialogs(DialogProvider* provider) {
    installedProvider = provider;
}

MsgResult ShowMessageDialog(const QString& text, MsgKind kind, MsgButtons buttons) {
    return Dialogs().Message(text, kind, buttons);
}

MsgResult ShowMessageDialog(const QString& text, const QString& details, MsgKind kind,
                            MsgButtons buttons) {
    if (details.isEmpty())
        return Dialogs().Message(text, kind, buttons);
    return Dialogs().MessageWithDetails(text, details, kind, buttons);
}

void ShowNotice(const QString& text, MsgKind kind, const QString& key) {
    Dialogs().Notice(text, kind, key);
}

void WithdrawNotice(const QString& key) {
    Dialogs().WithdrawNotice(key);
}

int CaptionTextId(MsgKind kind) {
    switch (kind) {
    case MsgKind::Warning:
        return 307;
    case MsgKind::Error:
        return 306;
    case MsgKind::Information:
        return 305;
    case MsgKind::Confirmation:
        return 304;
    }
    return 0;
}

int ButtonTextId(MsgResult button) {
    switch (button) {
    case MsgResult::Yes:
        return 300;
    case MsgResult::No:
        return 301;
    case MsgResult::Cancel:
        return 302;
    case MsgResult::Ok:
        return 303;
    }
    return 0;
}

QList<MsgResult> ButtonsOf(MsgButtons buttons) {
    if (buttons == MsgButtons::YesNo)
        return {MsgResult::Yes, MsgResult::No};
    return {MsgResult::Ok};
}

QString MessageCaption(MsgKind kind) {
    return GetText(CaptionTextId(kind));
}

QStringList MessageButtonCaptions(MsgButtons buttons) {
    QStringList captions;
    for (MsgResult button : ButtonsOf(buttons))
        captions << GetText(ButtonTextId(button));
    return captions;
}
