#pragma once

// The run journal: every record of a measurement run appended, as it is
// taken, to a file of its own in the per-user data folder, so that a crash,
// a kill or a power cut loses at most the record being taken. A journal is
// a measurement export file (same lines, UTF-16 LE with its mark, CR LF),
// named "<serial>_<yyyy-MM-dd_HH-mm-ss>.txt" after the gauge and the run's
// start. Starting a run deletes the journals that are both older than 30
// days and not among the 50 newest.

#include "measurement/MeasurementExport.h"
#include "measurement/MeasurementValues.h"

#include <QDateTime>
#include <QFile>
#include <QString>

#include <optional>

class RunJournal {
public:
    static constexpr int KeptDays = 30;
    static constexpr int KeptRuns = 50;

    explicit RunJournal(QString folder = DefaultFolder());
    ~RunJournal();
    RunJournal(const RunJournal&) = delete;
    RunJournal& operator=(const RunJournal&) = delete;

    // The per-user data folder's "Measurements".
    static QString DefaultFolder();
    // Whether a file name is one a journal gets (only those are ever deleted).
    static bool IsJournalName(const QString& fileName);

    // A new run (the journal of the one before is closed): creates the file
    // for the gauge serial number and start (a run started in the same
    // second as an earlier one gets "_2", "_3", ...), writes the byte order
    // mark and deletes old journals. false and the reason in error when the
    // folder cannot be written.
    bool Start(const QString& gaugeSerial, const QDateTime& start, QString* error = nullptr);
    // Appends the record's twelve lines, as the export writes them with
    // these rows, in one write, and has the system put them on the disk
    // before returning. false and the reason in error when that failed;
    // the journal is then closed, holding the records before.
    bool Append(const MeasurementValues& record, const MeasurementExport::RowTexts& rows,
                QChar timeSeparator, QString* error = nullptr);
    void Close();

    bool IsOpen() const { return file_.isOpen(); }
    // The current run's journal, also once closed; empty before a Start
    // succeeded.
    QString Path() const { return path_; }
    // The next run's journal goes to folder (the current one is closed).
    void SetFolder(QString folder) {
        Close();
        folder_ = std::move(folder);
    }

private:
    bool Create(const QString& baseName, QString* error);
    void DeleteOldJournals(const QDateTime& now);

    QString folder_;
    QString path_;
    QFile file_;
    // Bytes of the mark and the whole records written.
    qint64 size_ = 0;
    // The lines of the rows last used, kept while the rows stay the same.
    std::optional<MeasurementExport::RowTexts> rows_;
    std::optional<MeasurementExport::RecordLines> lines_;
};
