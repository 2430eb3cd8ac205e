// The traffic trace: one line per transaction attempt, per awaited service
// request and per XModem block, readable by a support engineer, and never a
// reason for the program to fail.

#include "SimLinkFixture.h"
#include "link/TrafficTrace.h"
#include "support/CountingTrace.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

namespace {

int warnings = 0;
std::string warnedPath;
void Warn(const std::string& path) {
    ++warnings;
    warnedPath = path;
}

class TraceOnSim : public SimLinkTest {
protected:
    ~TraceOnSim() override { InstallTrace(nullptr); }

    QStringList Lines() const {
        QFile file(QString::fromStdString(path));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLatin1(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    QTemporaryDir dir;
    std::string path = dir.filePath("trace.txt").toStdString();
};

// "+S.UUUUUU  text": seconds with six decimals since the trace began.
QString Text(const QString& line) {
    static const QRegularExpression stamp(QStringLiteral("^\\+\\d+\\.\\d{6}  "));
    const QRegularExpressionMatch match = stamp.match(line);
    return match.hasMatch() ? line.mid(match.capturedLength()) : QStringLiteral("<no stamp> ") + line;
}

} // namespace

TEST_F(TraceOnSim, EachAttemptIsALineWithCommandReplyAndTime) {
    SimGauge& gauge = OpenGauge(Unpaced());
    FileTrace trace(path, "Tessra2 trace", clock.Peek(), &Warn);
    InstallTrace(&trace);
    std::string reply;
    ASSERT_EQ(SDI12IO::SdiTransaction("0I!", reply, 200), 0);
    gauge.Faults().silent = true;
    ASSERT_EQ(SDI12IO::SdiTransaction("0OOV!", reply, 300), -1);
    InstallTrace(nullptr);

    const QStringList lines = Lines();
    ASSERT_EQ(lines.size(), 5) << lines.join(u'\n').toStdString();
    EXPECT_EQ(Text(lines[0]), "# Tessra2 trace");
    const QRegularExpression first(QStringLiteral(
        "^SDI-12  0I!  attempt 1/3  reply 013AXO     TESR2L131123456789<CR><LF>  \\(\\d+\\.\\d ms\\)$"));
    EXPECT_TRUE(first.match(Text(lines[1])).hasMatch()) << lines[1].toStdString();
    for (int i = 1; i <= 3; ++i) {
        const QRegularExpression silent(
            QStringLiteral("^SDI-12  0OOV!  attempt %1/3  no reply  \\((\\d+)\\.\\d ms\\)$").arg(i));
        const QRegularExpressionMatch match = silent.match(Text(lines[1 + i]));
        ASSERT_TRUE(match.hasMatch()) << lines[1 + i].toStdString();
        // Break, marking and the 300 ms timeout.
        EXPECT_GE(match.captured(1).toInt(), 300);
    }
    // The stamps count up from the start.
    const double firstStamp = lines[1].section(u' ', 0, 0).toDouble();
    const double lastStamp = lines[4].section(u' ', 0, 0).toDouble();
    EXPECT_GE(lastStamp - firstStamp, 0.6) << "two silent attempts of at least 300 ms lie between";
    EXPECT_EQ(warnings, 0);
}

TEST(TrafficTrace, BytesAreShownAsASupportEngineerReadsThem) {
    EXPECT_EQ(PrintableBytes(std::string("0+1.5\r\n", 7)), "0+1.5<CR><LF>");
    EXPECT_EQ(PrintableBytes(std::string("a\0\x7f\xe4<", 5)), "a<00><7F><E4><3C>");
}

TEST(TrafficTrace, AnUnwritableFileIsReportedOnceAndOtherwiseIgnored) {
    warnings = 0;
    const std::string path = "/nonexistent-folder/trace.txt";
    FileTrace trace(path, "header", 0.0, &Warn);
    EXPECT_FALSE(trace.Writing());
    trace.Attempt(1.0, 1, 3, "0!", "0\r\n", 10.0);
    trace.Block(2.0, 1, 1, "ACK");
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(warnedPath, path);
}

TEST(TrafficTrace, BlocksAndNotesHaveTheirOwnLines) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("t.txt").toStdString();
    {
        FileTrace trace(path, "", 1000.0, &Warn);
        trace.Block(1000.5, 7, 2, "NAK");
        trace.Note(1250.0, "line 115200 baud 8N1");
    }
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("+0.000500  XModem  block 7  try 2  NAK\n"
                                         "+0.250000  note    line 115200 baud 8N1\n"));
}

TEST(TrafficTrace, ARecordingKeepsItsLinesAndPassesEverythingOnToTheTraceBeforeIt) {
    CountingTrace outer;
    InstallTrace(&outer);
    {
        RecordedTrace recording(2000.0);
        EXPECT_EQ(ActiveTrace(), &recording);
        ActiveTrace()->Attempt(2001.25, 2, 3, "0M!", "00013\r\n", 12.0);
        ActiveTrace()->Awaited(2100.0, "0\r\n", "", false, 3000.0);
        ActiveTrace()->Note(2100.5, "end");
        EXPECT_EQ(recording.Text(),
                  "+0.001250  SDI-12  0M!  attempt 2/3  reply 00013<CR><LF>  (12.0 ms)\n"
                  "+0.100000  SDI-12  waiting for 0<CR><LF>  nothing came  (3000.0 ms)\n"
                  "+0.100500  note    end\n");
    }
    EXPECT_EQ(outer.reports, 3);
    EXPECT_EQ(ActiveTrace(), &outer) << "the trace before the recording is back";
    InstallTrace(nullptr);
}
