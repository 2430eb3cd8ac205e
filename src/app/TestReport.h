#pragma once

// --test-report: the program tells on standard output, one line each, what
// its window shows as it changes, so that a test driving the real program
// (for example over a pseudo-terminal against tessra2-sim) can follow it:
//
//   shown
//   presentation connected model=1 | presentation disconnected
//   row 1 ok 123456789 / 03 | row 5 failed
//   read complete | read stopped
//   message error: <text, line breaks as \n>
//   notice warning: <text, line breaks as \n>   (a message that waits for nobody)
//   record <count> <start of the measurement, yyyy-MM-ddTHH:mm:ss.zzz>
//
// Message dialogs are answered without being shown (OK, or No for a
// question), so nothing waits for a person; file dialogs are cancelled.

#include "ui/Dialogs.h"

#include <QObject>

class TTessra2ParamMainForm;

class TestReport : public QObject, public DialogProvider {
    Q_OBJECT
public:
    // Installs itself as the dialog provider until destroyed.
    TestReport();
    ~TestReport() override;

    void Attach(TTessra2ParamMainForm& window);
    void Print(const QString& line);

    MsgResult Message(const QString& text, MsgKind kind, MsgButtons buttons) override;
    void Notice(const QString& text, MsgKind kind, const QString& key = {}) override;
    QString OpenFile(const FileDialogRequest& request) override;
    QString SaveFile(const FileDialogRequest& request) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TTessra2ParamMainForm* window_ = nullptr;
    bool shown_ = false;
};
