// Test helper for the journal's kill test: starts a run journal in the
// folder given as the argument, prints its path, then appends numbered
// records, printing each record's number once it is appended, until the
// test kills it with SIGKILL. Should nobody do so, it stops by itself after
// MaxRecords (exit code 3), so that it never fills a disk.

#include "measurement/RunJournal.h"
#include "measurement/helpers/JournalRecords.h"

#include <QCoreApplication>

#include <cstdio>

namespace {
constexpr int MaxRecords = 20000;
}

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: journal_writer FOLDER\n");
        return 2;
    }
    RunJournal journal(QString::fromLocal8Bit(argv[1]));
    QString error;
    if (!journal.Start(QStringLiteral("AX0001"), QDateTime(QDate(2014, 3, 5), QTime(14, 7, 9)),
                       &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s\n", qPrintable(journal.Path()));
    std::fflush(stdout);
    const MeasurementExport::RowTexts rows = EnglishRows();
    for (int n = 0; n < MaxRecords; ++n) {
        if (!journal.Append(NumberedRecord(n), rows, u':', &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        std::printf("%d\n", n);
        std::fflush(stdout);
    }
    return 3;
}
