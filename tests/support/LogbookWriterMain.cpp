// tessra2-logbook-writer FILE: writes numbered entries into the logbook
// FILE, one transaction each, and prints each number once its entry is
// written, until it is killed (the crash test kills it with SIGKILL).

#include "logbook/LocalLogbook.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessra2-logbook-writer FILE\n");
        return 2;
    }
    LocalLogbook logbook(
        QString::fromLocal8Bit(argv[1]),
        [](const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); },
        QStringLiteral("writer"));
    for (int n = 1;; ++n) {
        LogbookEntry entry;
        entry.gauge.serialNumber = QStringLiteral("123456789");
        entry.kind = LogbookKind::MeasurementRun;
        entry.summary = QString::number(n);
        // Entries of a realistic size, so that pages fill and the log grows.
        entry.details = {{QStringLiteral("n"), n}, {QStringLiteral("values"), QString(1500, u'7')}};
        CompleteEntry(entry);
        if (!logbook.Add(entry))
            return 1;
        std::printf("%d\n", n);
        std::fflush(stdout);
    }
}
