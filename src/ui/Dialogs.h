#pragma once

// Modal interaction seam: the common message dialog, the file dialogs, and
// the other modal windows go through the installed DialogProvider. The
// program installs the real windows; tests install a script that records
// each request and answers it.

#include <QString>
#include <QStringList>

class QWidget;

enum class MsgKind { Warning, Error, Information, Confirmation };
enum class MsgButtons { Ok, YesNo };
enum class MsgResult { Yes, No, Ok, Cancel };

struct FileDialogRequest {
    QString title;
    // Qt filter, e.g. "Text files (*.txt)"; several are separated by ";;",
    // the first one selected.
    QString filter;
    QString folder;   // initial folder
    QString fileName; // proposed file name (save)
    QString defaultSuffix;
    // Save: ask before replacing an existing file (not for files that are
    // updated in place).
    bool confirmOverwrite = true;
    // Save with several filters: the suffix added to a name typed without
    // one, for each filter in their order (empty: none). When given, it
    // replaces defaultSuffix and follows the filter the user selects.
    QStringList filterSuffixes = {};
};

// What the user chose in a save dialog: the path (empty on cancel) and the
// index of the filter selected when the dialog was accepted.
struct SaveFileChoice {
    QString path;
    int filterIndex = 0;
};

class DialogProvider {
public:
    virtual ~DialogProvider() = default;
    // text, caption already in the current language.
    virtual MsgResult Message(const QString& text, MsgKind kind, MsgButtons buttons) = 0;
    // The same message with a detailed text the user can unfold under it.
    // A provider that shows no details shows the message alone.
    virtual MsgResult MessageWithDetails(const QString& text, const QString& details,
                                         MsgKind kind, MsgButtons buttons) {
        (void)details;
        return Message(text, kind, buttons);
    }
    // A message that waits for nobody: shown beside the window and closed
    // whenever the user likes, while the program goes on at once. A
    // provider without such a window shows it as a message. A notice with
    // a key replaces the one shown with the same key, and can be withdrawn
    // when what it says is over.
    virtual void Notice(const QString& text, MsgKind kind, const QString& key = {}) {
        (void)key;
        Message(text, kind, MsgButtons::Ok);
    }
    virtual void WithdrawNotice(const QString& key) { (void)key; }
    // Chosen path, or empty on cancel.
    virtual QString OpenFile(const FileDialogRequest& request) = 0;
    virtual QString SaveFile(const FileDialogRequest& request) = 0;
    // The same, also telling which of the request's filters was chosen. A
    // provider that cannot tell answers the first.
    virtual SaveFileChoice SaveFileWithFilter(const FileDialogRequest& request) {
        return {SaveFile(request), 0};
    }
};

// The real dialogs (QMessageBox, QFileDialog).
class RealDialogProvider : public DialogProvider {
public:
    MsgResult Message(const QString& text, MsgKind kind, MsgButtons buttons) override;
    MsgResult MessageWithDetails(const QString& text, const QString& details, MsgKind kind,
                                 MsgButtons buttons) override;
    void Notice(const QString& text, MsgKind kind, const QString& key = {}) override;
    void WithdrawNotice(const QString& key) override;
    QString OpenFile(const FileDialogRequest& request) override;
    QString SaveFile(const FileDialogRequest& request) override;
    SaveFileChoice SaveFileWithFilter(const FileDialogRequest& request) override;
};

DialogProvider& Dialogs();
// Installs provider (not owned); nullptr restores the real dialogs.
void InstallDialogs(DialogProvider* provider);

// Common message dialog: caption and buttons in the current language.
MsgResult ShowMessageDialog(const QString& text, MsgKind kind, MsgButtons buttons);
// The same with a detailed text under a "Show Details..." button in the
// current language; empty details show the plain dialog.
MsgResult ShowMessageDialog(const QString& text, const QString& details, MsgKind kind,
                            MsgButtons buttons);
// A message that does not wait for the user's answer (see DialogProvider::Notice).
void ShowNotice(const QString& text, MsgKind kind, const QString& key = {});
void WithdrawNotice(const QString& key);
// Window caption text id of a kind: 307, 306, 305 or 304.
int CaptionTextId(MsgKind kind);
// Caption text id of a button: Yes 300, No 301, Cancel 302, OK 303.
int ButtonTextId(MsgResult button);
// The buttons of a set, left to right: OK, or Yes and No.
QList<MsgResult> ButtonsOf(MsgButtons buttons);
// What the message dialog shows for a kind and button set in the current
// language: its window caption and its button captions, left to right.
QString MessageCaption(MsgKind kind);
QStringList MessageButtonCaptions(MsgButtons buttons);
