#pragma once

// What the terminal does when a command is sent, without any widget: the
// address and capitals rules, the "!", one SDI-12 transaction, the history,
// the log lines with their time stamps and the CRC marks. The frame shows
// what the session reports and gives it the entry field's text and the
// state of its two check boxes.

#include "terminal/CommandHistory.h"
#include "terminal/SdiCrc.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <string>

class TSDIHandler;

namespace Terminal {

enum class LineKind {
    Command, // black
    Reply,   // green
    NoReply, // red
};

// Waiting time for the reply to a terminal command.
inline constexpr std::uint32_t ReplyTimeoutMs = 250;

class TerminalView {
public:
    virtual ~TerminalView() = default;
    virtual QString EntryText() const = 0;
    virtual void SetEntryText(const QString& text) = 0;
    virtual bool AutomaticAddress() const = 0;
    virtual bool CapitalsOnly() const = 0;
    // Adds one line to the log in the colour of its kind.
    virtual void AddLogLine(const QString& line, LineKind kind) = 0;
    // The history changed: the last-command buttons show it again.
    virtual void ShowLastCommands() = 0;
    // Throws away the keys typed while the command was under way.
    virtual void DiscardPendingKeystrokes() = 0;
    // After a send: empty entry field, log scrolled to its end, focus on the field.
    virtual void CommandFinished() = 0;
};

class TerminalSession {
public:
    // now gives the local date and time of the log lines (the PC's unless a
    // test pins it).
    TerminalSession(TSDIHandler& gauge, TerminalView& view, std::function<QDateTime()> now = {});

    // Enter: sends the entry field's command (nothing while one is under way).
    void SendTerminalCommand();
    // A last-command button (0 the most recent) or "Send Last Command".
    void SendRecent(int i);
    // The arrow keys.
    void ShowOlderCommand();
    void ShowNewerCommand();

    // The gauge was lost (a red line) or is back (a line in the commands' colour).
    void NoteLinkChange(bool back);

    const CommandHistory& History() const { return history_; }

    // The log lines of a command and of its outcome.
    static QString CommandLine(const QDateTime& when, const std::string& command);
    static QString ReplyLine(const QDateTime& when, const QString& reply);
    static QString NoReplyLine(const QDateTime& when);
    // The reply as the log shows it: a one-line reply with each CR LF as the
    // literal "<cr><lf>" and without blanks and control characters at its
    // ends; any other reply as received.
    static QString ReplyText(const std::string& raw);
    // "ddmmyyyy_hhnnss_Terminal.txt" of when.
    static QString ProposedLogFileName(const QDateTime& when);

    static inline const QString CrcOkMark = QStringLiteral("CRC ok");
    static inline const QString CrcWrongMark = QStringLiteral("CRC wrong");

private:
    std::string PrepareCommand();

    TSDIHandler& gauge_;
    TerminalView& view_;
    std::function<QDateTime()> now_;
    CommandHistory history_;
    SdiCrc::ReplyTracker crcReplies_;
    bool busy_ = false;
};

} // namespace Terminal
