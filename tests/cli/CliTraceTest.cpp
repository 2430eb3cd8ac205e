// --trace FILE: the traffic of a run as plain text, never a reason to fail.

#include "CliFixture.h"

#include <QFile>
#include <QRegularExpression>

namespace {

QStringList TraceLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

// The line without its time stamp "+S.UUUUUU  ".
QString Text(const QString& line) {
    static const QRegularExpression stamp(QStringLiteral("^\\+\\d+\\.\\d{6}  "));
    const QRegularExpressionMatch match = stamp.match(line);
    return match.hasMatch() ? line.mid(match.capturedLength()) : QStringLiteral("<no stamp> ") + line;
}

} // namespace

class CliTrace : public CliOnSim {};

TEST_F(CliTrace, ATransactionWithARetryIsOneLineAnAttempt) {
    SimGauge& gauge = AddGauge(1);
    gauge.Faults().silent = true;
    gauge.Faults().faultyReplies = 1;
    const QString path = PathOf("trace.txt");
    EXPECT_EQ(Run({"--trace", path, "send", "0I!"}), 0) << err.toStdString();
    const QStringList lines = TraceLines(path);
    ASSERT_EQ(lines.size(), 3) << lines.join(u'\n').toStdString();
    EXPECT_TRUE(Text(lines[0]).startsWith("# tessra2-cli ")) << lines[0].toStdString();
    const QRegularExpression silent(
        QStringLiteral("^SDI-12  0I!  attempt 1/3  no reply  \\(\\d+\\.\\d ms\\)$"));
    EXPECT_TRUE(silent.match(Text(lines[1])).hasMatch()) << lines[1].toStdString();
    const QRegularExpression answered(QStringLiteral(
        "^SDI-12  0I!  attempt 2/3  reply 013AXO     TESR2L131123456789<CR><LF>  \\(\\d+\\.\\d ms\\)$"));
    EXPECT_TRUE(answered.match(Text(lines[2])).hasMatch()) << lines[2].toStdString();
}

TEST_F(CliTrace, AnUnwritableTraceIsSaidOnceAndTheCommandRuns) {
    AddGauge(1);
    const QString path = QStringLiteral("/nonexistent-folder/trace.txt");
    EXPECT_EQ(Run({"--trace", path, "send", "0I!"}), 0);
    EXPECT_EQ(out, "013AXO     TESR2L131123456789\n");
    EXPECT_EQ(err.trimmed(), "The trace file " + path +
                                 " cannot be written; the program goes on without a trace.");
}
