// The logbook's figures:
// - the time to add an entry (each in its own transaction), on a new file
//   and on one of 100,000 entries, also while the team sync sends;
// - the time to open a logbook of 100,000 entries and read the newest page
//   of one gauge's history (what the history window shows first), and the
//   time to open the gauge history window itself on it (goal: 100 ms);
// - the time to send 10,000 entries to a local PostgreSQL server.
//
//     bench_logbook [ENTRIES]     (default 100000)

#include "logbook/GaugeHistoryWindow.h"
#include "logbook/LocalLogbook.h"
#include "logbook/ProgramLogbook.h"
#include "logbook/TeamServer.h"
#include "support/PostgresServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Gauges = 100;
constexpr int PageSize = 50;

LogbookEntry Sample(int n) {
    LogbookEntry entry;
    entry.gauge = {QStringLiteral("%1").arg(100000000 + n % Gauges), QStringLiteral("B"), n % 3,
                   QStringLiteral("1.31")};
    entry.kind = static_cast<LogbookKind>(n % 12);
    entry.timeUtc = QDateTime(QDate(2020, 1, 1), QTime(8, 0), Qt::UTC).addSecs(n * 600LL);
    entry.summary = QStringLiteral("Configuration written; changed: HEATINGMODE, TEMPERATUREUNIT");
    entry.details = {{QStringLiteral("changes"), QStringLiteral("HEATINGMODE 0 -> 2; "
                                                                "TEMPERATUREUNIT 0 -> 1")},
                     {QStringLiteral("n"), n}};
    entry.files = {QStringLiteral("/home/anna/Tessra2/PrecisionTest_20240501_0800.log")};
    CompleteEntry(entry);
    return entry;
}

struct Times {
    std::vector<double> ms;
    void Print(const char* what) {
        std::sort(ms.begin(), ms.end());
        double sum = 0;
        for (double each : ms)
            sum += each;
        std::printf("%-44s n=%zu  mean %.3f ms  median %.3f ms  p99 %.3f ms  max %.3f ms\n", what,
                    ms.size(), sum / ms.size(), ms[ms.size() / 2], ms[ms.size() * 99 / 100],
                    ms.back());
    }
};

double Ms(const QElapsedTimer& timer) {
    return timer.nsecsElapsed() / 1e6;
}

// Adds as the window program does: through its logbook, which leaves the
// copying of the write-ahead log to a thread of its own.
Times AddEntries(ProgramLogbook& logbook, int first, int count) {
    Times times;
    for (int n = first; n < first + count; ++n) {
        const LogbookEntry entry = Sample(n);
        QElapsedTimer timer;
        timer.start();
        logbook.Add(entry);
        times.ms.push_back(Ms(timer));
        QCoreApplication::processEvents();
    }
    if (logbook.Local().Waiting() > 0)
        std::printf("%zu entries not written: %s\n", logbook.Local().Waiting(),
                    qPrintable(logbook.Local().LastError()));
    return times;
}

ProgramLogbook::Options At(const QString& path) {
    ProgramLogbook::Options options;
    options.path = path;
    return options;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int total = argc > 1 ? std::max(1000, QString::fromLocal8Bit(argv[1]).toInt()) : 100000;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("logbook.sqlite"));

    {
        ProgramLogbook logbook(At(path), {});
        AddEntries(logbook, 0, 2000).Print("add an entry (new file)");
        QElapsedTimer fill;
        fill.start();
        AddEntries(logbook, 2000, total - 3000);
        std::printf("%-44s %d entries in %.1f s\n", "filled", total - 1000,
                    fill.elapsed() / 1000.0);
        AddEntries(logbook, total - 1000, 1000).Print("add an entry (file of the size above)");
    }

    // As the history window would: a new connection, the newest page of a gauge.
    Times open;
    Times deeper;
    for (int round = 0; round < 20; ++round) {
        QElapsedTimer timer;
        timer.start();
        LocalLogbook logbook(path, {}, QStringLiteral("reader%1").arg(round));
        LogbookQuery query;
        query.serialNumber = QStringLiteral("%1").arg(100000000 + round % Gauges);
        query.limit = PageSize;
        const std::vector<LogbookEntry> page = logbook.Read(query);
        open.ms.push_back(Ms(timer));
        if (page.size() != static_cast<std::size_t>(PageSize))
            std::printf("page of %zu entries\n", page.size());
        QElapsedTimer next;
        next.start();
        query.olderThan = page.back().id;
        query.kind = LogbookKind::PrecisionTest;
        logbook.Read(query);
        deeper.ms.push_back(Ms(next));
    }
    open.Print("open + newest page of one gauge (100k file)");
    deeper.Print("next page, precision tests only");

    // What the window reads first: one gauge's newest page; then its tests.
    Times model;
    Times tests;
    for (int round = 0; round < 20; ++round) {
        QElapsedTimer timer;
        timer.start();
        GaugeHistory history({path, {}, 10}, QStringLiteral("%1").arg(100000000 + round % Gauges));
        model.ms.push_back(Ms(timer));
        QElapsedTimer later;
        later.start();
        while (!history.TestsRead())
            QCoreApplication::processEvents();
        tests.ms.push_back(Ms(later));
    }
    model.Print("history: first page");
    tests.Print("history: then the gauge's accuracy tests");

    // As a click on "Gauge history" does: the window with its first page,
    // shown and painted once (the chart's tests follow, as above).
    Times window;
    for (int round = 0; round < 20; ++round) {
        QElapsedTimer timer;
        timer.start();
        GaugeHistoryWindow history({path, {}, 10},
                                   QStringLiteral("%1").arg(100000000 + round % Gauges));
        history.show();
        // Painted now, before the event loop reads the tests.
        const QPixmap painted = history.grab();
        window.ms.push_back(Ms(timer));
        if (painted.isNull())
            std::printf("the window was not painted\n");
        if (history.History().Entries().size() != static_cast<std::size_t>(GaugeHistory::PageSize))
            std::printf("window shows %zu entries\n", history.History().Entries().size());
    }
    window.Print("open the gauge history window (100k file)");

    if (!PostgresServer::Available()) {
        std::printf("sync: skipped, the PostgreSQL server is not installed\n");
        return 0;
    }
    PostgresServer server;
    if (!server.Start() || !server.CreateTeamDatabase(QStringLiteral("team"))) {
        std::printf("sync: the server did not start: %s\n", qPrintable(server.Error()));
        return 1;
    }
    PgPassScope pgpass(server, QStringLiteral("team"));
    const TeamServerAddress address =
        *ParseTeamAddress(server.TeamUrl(QStringLiteral("team"))).address;
    const QString syncPath = folder.filePath(QStringLiteral("sync.sqlite"));
    {
        {
            ProgramLogbook filling(At(syncPath), {});
            AddEntries(filling, 0, 10000);
        }
        LocalLogbook logbook(syncPath, {}, QStringLiteral("sync"));
        TeamServerConnection connection(address, QStringLiteral("bench"));
        QElapsedTimer timer;
        timer.start();
        const TeamOutcome outcome = SendUnsent(logbook, connection);
        std::printf("%-44s %lld entries in %.2f s (%s, %lld waiting)\n", "sync to the local server",
                    static_cast<long long>(outcome.sent), timer.elapsed() / 1000.0,
                    outcome.status == TeamStatus::Sent ? "all taken" : qPrintable(outcome.cause),
                    static_cast<long long>(outcome.waiting));
    }
    {
        // Adding while the sending thread is busy with a long queue.
        server.Sql(QStringLiteral("TRUNCATE tessra2_logbook"), QStringLiteral("team"));
        ProgramLogbook::Options options = At(path);
        options.team = address;
        ProgramLogbook logbook(options, {});
        AddEntries(logbook, total, 2000).Print("add an entry while 100k are being sent");
    }
    return 0;
}
