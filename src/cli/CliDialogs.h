#pragma once

// The questions and messages of the reused sequences on the command line.
// A message is written to the message stream. A question is answered yes
// by --yes, asked on the terminal (y/n) when standard input is one, and
// otherwise refused with a message: a script never hangs on a question.
// The file dialogs are answered with the path the command was given.

#include "cli/CliIo.h"
#include "ui/Dialogs.h"

class CliDialogs : public DialogProvider {
public:
    // Installed as the dialog provider for its lifetime.
    CliDialogs(CliIo& io, bool yes);
    ~CliDialogs() override;
    CliDialogs(const CliDialogs&) = delete;
    CliDialogs& operator=(const CliDialogs&) = delete;

    // The path a file dialog answers with (empty: cancelled).
    void SetFileAnswer(const QString& path) { file_ = path; }
    // A question was answered no or could not be asked.
    bool Refused() const { return refused_; }

    MsgResult Message(const QString& text, MsgKind kind, MsgButtons buttons) override;
    QString OpenFile(const FileDialogRequest& request) override;
    QString SaveFile(const FileDialogRequest& request) override;

private:
    bool AskTerminal();

    CliIo& io_;
    bool yes_;
    QString file_;
    bool refused_ = false;
    DialogProvider* previous_;
};
