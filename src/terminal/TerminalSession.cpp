#include "terminal/TerminalSession.h"

#include "gauge/SDIHandler.h"
#include "link/ByteText.h"
#include "link/SDI12IO.h"
#include "ui/TimeTexts.h"
#include "ui/WideLanguageHandler.h"

namespace Terminal {

namespace {

constexpr int GaugeLostTextId = 938;
constexpr int GaugeBackTextId = 939;

std::string AsciiUpper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string Trimmed(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlankOrControl(text[begin]))
        ++begin;
    while (end > begin && IsBlankOrControl(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

// Clears the busy flag however the send ends.
class BusyScope {
public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& busy_;
};

} // namespace

TerminalSession::TerminalSession(TSDIHandler& gauge, TerminalView& view,
                                 std::function<QDateTime()> now)
    : gauge_(gauge), view_(view),
      now_(now ? std::move(now) : [] { return QDateTime::currentDateTime(); }) {}

QString TerminalSession::CommandLine(const QDateTime& when, const std::string& command) {
    return DayAndTimeTextMs(when) + QStringLiteral(" SDI-CMD> ") + Latin1Text(command);
}

QString TerminalSession::ReplyLine(const QDateTime& when, const QString& reply) {
    return DayAndTimeTextMs(when) + QStringLiteral(" SDI-RET> ") + reply;
}

void TerminalSession::NoteLinkChange(bool back) {
    const QString text = GetText(back ? GaugeBackTextId : GaugeLostTextId);
    view_.AddLogLine(DayAndTimeTextMs(now_()) + u' ' + text,
                     back ? LineKind::Command : LineKind::NoReply);
}

QString TerminalSession::NoReplyLine(const QDateTime& when) {
    return DayAndTimeTextMs(when) + QStringLiteral(" SDI-RET> ERROR");
}

QString TerminalSession::ReplyText(const std::string& raw) {
    const std::size_t firstLineFeed = raw.find('\n');
    const bool oneLine = raw.empty() || firstLineFeed == raw.size() - 1;
    if (!oneLine)
        return Latin1Text(raw);
    std::string text;
    text.reserve(raw.size() + 16);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') {
            text += "<cr><lf>";
            ++i;
        } else {
            text.push_back(raw[i]);
        }
    }
    return Latin1Text(Trimmed(text));
}

QString TerminalSession::ProposedLogFileName(const QDateTime& when) {
    return when.toString(QStringLiteral("ddMMyyyy_HHmmss")) + QStringLiteral("_Terminal.txt");
}

std::string TerminalSession::PrepareCommand() {
    std::string command = view_.EntryText().trimmed().toLatin1().toStdString();
    const std::string& address = gauge_.Address;
    if (view_.AutomaticAddress() && command.compare(0, 1, address.substr(0, 1)) != 0) {
        command.insert(0, address);
        view_.SetEntryText(Latin1Text(command));
    }
    if (view_.CapitalsOnly()) {
        command = AsciiUpper(command);
        view_.SetEntryText(Latin1Text(command));
    }
    return command;
}

void TerminalSession::SendTerminalCommand() {
    if (busy_)
        return;
    {
        BusyScope busy(busy_);
        std::string command = PrepareCommand();
        if (!command.empty()) {
            if (command.back() != '!')
                command.push_back('!');
            view_.AddLogLine(CommandLine(now_(), command), LineKind::Command);
            std::string reply;
            SDI12IO::SdiTransaction(command, reply, ReplyTimeoutMs);
            history_.Store(command);
            view_.ShowLastCommands();
            const bool withCrc = crcReplies_.Sent(command, !reply.empty());
            QString text = ReplyText(reply);
            if (!text.isEmpty()) {
                if (withCrc)
                    text += QStringLiteral("  ") +
                            (SdiCrc::ReplyCrcMatches(reply) ? CrcOkMark : CrcWrongMark);
                view_.AddLogLine(ReplyLine(now_(), text), LineKind::Reply);
            } else {
                view_.AddLogLine(NoReplyLine(now_()), LineKind::NoReply);
            }
            view_.DiscardPendingKeystrokes();
        }
    }
    view_.DiscardPendingKeystrokes();
    view_.CommandFinished();
}

void TerminalSession::SendRecent(int i) {
    const std::string command = history_.Recent(i);
    if (command.empty())
        return;
    view_.SetEntryText(Latin1Text(command));
    SendTerminalCommand();
}

void TerminalSession::ShowOlderCommand() {
    std::string entry;
    if (history_.Older(entry))
        view_.SetEntryText(Latin1Text(entry));
}

void TerminalSession::ShowNewerCommand() {
    std::string entry;
    if (history_.Newer(entry))
        view_.SetEntryText(Latin1Text(entry));
}

} // namespace Terminal
