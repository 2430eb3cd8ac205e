#include "cli/CliDialogs.h"

#include "ui/WideLanguageHandler.h"

namespace {

constexpr int YesText = 300;
constexpr int NoText = 301;
constexpr int NotAskedText = 805;
constexpr int PromptText = 817;

// "y", "yes" and the first letter or whole word of the language's Yes.
bool IsAnswer(const QString& answer, int textId, const char* english) {
    const QString word = GetText(textId).toLower();
    return answer == QLatin1String(english) || answer == QString(QLatin1Char(english[0])) ||
           (!word.isEmpty() && (answer == word || answer == word.left(1)));
}

} // namespace

CliDialogs::CliDialogs(CliIo& io, bool yes) : io_(io), yes_(yes), previous_(&Dialogs()) {
    InstallDialogs(this);
}

CliDialogs::~CliDialogs() {
    InstallDialogs(previous_);
}

MsgResult CliDialogs::Message(const QString& text, MsgKind kind, MsgButtons buttons) {
    io_.err << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).trimmed()
            << Qt::endl;
    if (buttons == MsgButtons::Ok)
        return MsgResult::Ok;
    (void)kind;
    if (yes_)
        return MsgResult::Yes;
    if (io_.in != nullptr && io_.inIsTerminal) {
        if (AskTerminal())
            return MsgResult::Yes;
        refused_ = true;
        return MsgResult::No;
    }
    io_.err << GetText(NotAskedText) << Qt::endl;
    refused_ = true;
    return MsgResult::No;
}

bool CliDialogs::AskTerminal() {
    for (;;) {
        io_.err << GetText(PromptText) << u' ' << Qt::flush;
        const QString line = io_.in->readLine();
        if (line.isNull())
            return false; // end of input
        const QString answer = line.trimmed().toLower();
        if (IsAnswer(answer, YesText, "yes"))
            return true;
        if (IsAnswer(answer, NoText, "no"))
            return false;
    }
}

QString CliDialogs::OpenFile(const FileDialogRequest&) {
    return file_;
}

QString CliDialogs::SaveFile(const FileDialogRequest&) {
    return file_;
}
