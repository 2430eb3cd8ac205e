// Sending terminal commands, without widgets, against the simulated gauge:
// the address and capitals rules, the log lines, the history and the CRC marks.

#include "support/QtPrinters.h"
#include "support/ScriptedAdapter.h"
#include "support/GaugeOnSim.h"

#include "terminal/TerminalSession.h"

using namespace Terminal;
using Commands = std::vector<std::string>;

namespace {

class FakeTerminal : public TerminalView {
public:
    QString EntryText() const override { return entry; }
    void SetEntryText(const QString& text) override { entry = text; }
    bool AutomaticAddress() const override { return automatic; }
    bool CapitalsOnly() const override { return capitals; }
    void AddLogLine(const QString& line, LineKind kind) override {
        lines << line;
        kinds.push_back(kind);
        if (onLine)
            onLine();
    }
    void ShowLastCommands() override { ++shown; }
    void DiscardPendingKeystrokes() override { ++discards; }
    void CommandFinished() override {
        entry.clear();
        ++finished;
    }

    QString entry;
    bool automatic = true;
    bool capitals = true;
    QStringList lines;
    std::vector<LineKind> kinds;
    std::function<void()> onLine;
    int shown = 0;
    int discards = 0;
    int finished = 0;
};

class TerminalOnSim : public GaugeOnSim {
protected:
    // Types text and presses Enter.
    void Send(const QString& text) {
        view.entry = text;
        session.SendTerminalCommand();
    }
    // The text after " SDI-RET> " of the last line.
    QString LastReply() const {
        const QString line = view.lines.last();
        const qsizetype at = line.indexOf(" SDI-RET> ");
        return at < 0 ? QStringLiteral("(no reply line)") : line.mid(at + 10);
    }

    FakeTerminal view;
    TerminalSession session{handler, view, PinnedNow()};
};

} // namespace

TEST_F(TerminalOnSim, TheAddressIsPutInFrontOfEveryCommandThatLacksIt) {
    SimGauge& gauge = ConnectedGauge(1);
    Send("M");
    Send("0I");
    Send("?!");
    Send(" ab ");
    // The gauge does not know "?!" after an address: three unanswered attempts.
    EXPECT_EQ(gauge.Commands(), (Commands{"0M!", "0I!", "0?!", "0?!", "0?!", "0AB!"}));
}

TEST_F(TerminalOnSim, TheCapitalsRuleAlsoChangesTheInsertedAddress) {
    SimGauge& gauge = ConnectedGauge(1, 'a');
    Send("M!");
    // "A" is another sensor's address: three unanswered attempts.
    EXPECT_EQ(gauge.Commands(), (Commands{"AM!", "AM!", "AM!"}));
    EXPECT_EQ(LastReply(), "ERROR");
    view.capitals = false;
    Send("M!");
    EXPECT_EQ(gauge.Commands().back(), "aM!");
    EXPECT_EQ(LastReply(), "a0019<cr><lf>");
    view.automatic = false;
    Send("aD0!");
    EXPECT_EQ(gauge.Commands().back(), "aD0!");
}

TEST_F(TerminalOnSim, AnEmptyEntrySendsTheAddressAloneWhenTheAddressIsInsertedAutomatically) {
    SimGauge& gauge = ConnectedGauge(1);
    Send("");
    EXPECT_EQ(gauge.Commands(), (Commands{"0!"}));
    EXPECT_EQ(LastReply(), "0<cr><lf>");
}

TEST_F(TerminalOnSim, AnEmptyEntryWithoutAutomaticAddressSendsAndLogsNothing) {
    SimGauge& gauge = ConnectedGauge(1);
    view.automatic = false;
    Send("   ");
    EXPECT_TRUE(gauge.Commands().empty());
    EXPECT_TRUE(view.lines.isEmpty());
    EXPECT_EQ(view.entry, "");
    EXPECT_EQ(session.History().Count(), 0);
    EXPECT_EQ(view.finished, 1);
}

TEST_F(TerminalOnSim, CommandAndReplyAreLoggedWithTimeStampsToTheMillisecond) {
    ConnectedGauge(1);
    Send("I");
    ASSERT_EQ(view.lines.size(), 2);
    EXPECT_EQ(view.lines[0], "05.03.2014 14:07:09.123 SDI-CMD> 0I!");
    EXPECT_TRUE(view.lines[1].startsWith("05.03.2014 14:07:09.123 SDI-RET> 013AXO     TESR2L"))
        << view.lines[1].toStdString();
    EXPECT_TRUE(view.lines[1].endsWith("<cr><lf>"));
    EXPECT_EQ(view.kinds, (std::vector<LineKind>{LineKind::Command, LineKind::Reply}));
    EXPECT_EQ(session.History().Recent(0), "0I!");
    EXPECT_GE(view.discards, 1) << "keys typed meanwhile are thrown away";
}

TEST_F(TerminalOnSim, NoReplyIsLoggedAsErrorAndTheCommandIsStillKept) {
    SimGauge& gauge = ConnectedGauge(1);
    gauge.Faults().silent = true;
    Send("I");
    EXPECT_EQ(view.lines.last(), "05.03.2014 14:07:09.123 SDI-RET> ERROR");
    EXPECT_EQ(view.kinds.back(), LineKind::NoReply);
    EXPECT_EQ(session.History().Recent(0), "0I!");
    EXPECT_TRUE(dialogs.Messages().isEmpty());
}

TEST_F(TerminalOnSim, WithoutAGaugeTheCommandGetsTheErrorLineAndNothingElse) {
    Send("0I!");
    EXPECT_EQ(view.lines.size(), 2);
    EXPECT_EQ(LastReply(), "ERROR");
    EXPECT_TRUE(dialogs.Messages().isEmpty());
}

TEST_F(TerminalOnSim, ASecondEnterWhileACommandIsUnderWaySendsNothing) {
    SimGauge& gauge = ConnectedGauge(1);
    view.onLine = [this] {
        view.entry = "0V!";
        session.SendTerminalCommand();
    };
    Send("0I!");
    EXPECT_EQ(gauge.Commands(), (Commands{"0I!"}));
}

TEST_F(TerminalOnSim, DataRepliesAfterACrcMeasurementAreMarkedCrcOk) {
    ConnectedGauge(1);
    Send("MC");
    EXPECT_EQ(LastReply(), "00019<cr><lf>") << "the announcement carries no CRC";
    Send("D0");
    EXPECT_TRUE(LastReply().endsWith("<cr><lf>  CRC ok")) << LastReply().toStdString();
    EXPECT_EQ(view.kinds.back(), LineKind::Reply);
    Send("D1");
    EXPECT_TRUE(LastReply().endsWith("<cr><lf>  CRC ok")) << LastReply().toStdString();
    Send("CC1");
    Send("D0");
    EXPECT_TRUE(LastReply().endsWith("  CRC ok")) << LastReply().toStdString();
    Send("RC0");
    EXPECT_TRUE(LastReply().endsWith("  CRC ok")) << LastReply().toStdString();
}

TEST_F(TerminalOnSim, OtherRepliesAreLoggedWithoutMark) {
    ConnectedGauge(1);
    for (const char* command : {"M", "D0", "R0", "I", "OOV"}) {
        Send(command);
        EXPECT_FALSE(LastReply().contains("CRC")) << command << ": " << LastReply().toStdString();
        EXPECT_TRUE(LastReply().endsWith("<cr><lf>")) << command;
    }
}

TEST_F(TerminalOnSim, ADamagedDataReplyIsMarkedCrcWrong) {
    SimGauge& gauge = ConnectedGauge(1);
    Send("MC");
    gauge.Faults().garbage = true;
    gauge.Faults().faultyReplies = 1;
    Send("D0");
    EXPECT_TRUE(LastReply().endsWith("  CRC wrong")) << LastReply().toStdString();
    EXPECT_EQ(view.kinds.back(), LineKind::Reply) << "in the reply's colour";
}

TEST(TerminalCrcMarks, AHandMadeReplyWithAWrongCrcIsMarkedCrcWrong) {
    ManualClock clock{0.25};
    ScopedClock scopedClock{clock};
    ScriptedBackend backend;
    backend.adapters = {{"AX1", "Tessra2 USB SDI-12 adapter"}};
    LinkStateGuard link{&backend};
    ASSERT_GT(SDI12IO::OpenSdiPort("AX1", 7, 2, 0), 0);
    TSDIHandler handler;
    handler.Address = "0";
    FakeTerminal view;
    TerminalSession session(handler, view);
    backend.line.Reply("000012\r\n");
    backend.line.Reply("0+3.14OqY\r\n");
    backend.line.Reply("0+3.14OqZ\r\n");
    for (const char* command : {"0MC!", "0D0!", "0D0!"}) {
        view.entry = command;
        session.SendTerminalCommand();
    }
    ASSERT_EQ(view.lines.size(), 6);
    EXPECT_TRUE(view.lines[3].endsWith(" SDI-RET> 0+3.14OqY<cr><lf>  CRC wrong"))
        << view.lines[3].toStdString();
    EXPECT_TRUE(view.lines[5].endsWith(" SDI-RET> 0+3.14OqZ<cr><lf>  CRC ok"))
        << view.lines[5].toStdString();
}

TEST(TerminalReplyText, AOneLineReplyShowsItsLineEndAndLosesBlanksAndControlsAtItsEnds) {
    EXPECT_EQ(TerminalSession::ReplyText("0+1.23\r\n"), "0+1.23<cr><lf>");
    EXPECT_EQ(TerminalSession::ReplyText(" \t0+1.23\r\n"), "0+1.23<cr><lf>");
    EXPECT_EQ(TerminalSession::ReplyText("0\r\r\n"), "0\r<cr><lf>") << "only CR LF pairs are named";
    EXPECT_EQ(TerminalSession::ReplyText("0\n"), "0");
    EXPECT_EQ(TerminalSession::ReplyText(""), "");
    EXPECT_EQ(TerminalSession::ReplyText("\r\n"), "<cr><lf>");
}

TEST(TerminalReplyText, AnyOtherReplyIsLeftAsReceived) {
    EXPECT_EQ(TerminalSession::ReplyText("0\r\n1\r\n"), "0\r\n1\r\n");
    EXPECT_EQ(TerminalSession::ReplyText(" 0+1"), " 0+1") << "a line that never ended";
    EXPECT_EQ(TerminalSession::ReplyText("<b>&amp;\r\n"), "<b>&amp;<cr><lf>");
}

TEST(TerminalLogFileName, IsTheTimeFollowedByTerminal) {
    EXPECT_EQ(TerminalSession::ProposedLogFileName(QDateTime(QDate(2014, 3, 5), QTime(14, 7, 9))),
              "05032014_140709_Terminal.txt");
}
