#pragma once

// The history of one gauge, as the history window shows it: its entries,
// newest first, from the local logbook and, when a team server is set and
// answers, the team's; an entry that is in both shows once. The local file
// is read a page at a time (more as the list is scrolled), the team's
// entries in a thread of their own, so that neither a long logbook nor a
// slow server holds up the window. The precision tests' deviations over
// time come with their permitted band.

#include "logbook/LocalLogbook.h"
#include "logbook/TeamHistoryReader.h"
#include "logbook/TeamServerAddress.h"

#include <QDateTime>
#include <QObject>
#include <QSet>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Where the history is read from.
struct HistorySources {
    QString localPath;
    std::optional<TeamServerAddress> team;
    int connectTimeoutSeconds = 10;
};
// The running program's logbook (its file and its team server), else the
// per-user file alone.
HistorySources ProgramHistorySources();

// A precision test's deviation and the band it was permitted, in mm.
struct DeviationPoint {
    QDateTime timeUtc;
    double deviationMm = 0;
    double permittedMm = 0;
    bool passed = false;
};
// The point of a precision test's entry: its details' values "DeviationMm"
// and "PermittedMm" (the test's values by their names); none when the
// entry holds no such values.
std::optional<DeviationPoint> PrecisionDeviation(const LogbookEntry& entry);

enum class TeamHistoryState {
    NotSet,  // no team server is set
    Reading, // the team's entries are being read
    Read,    // all of them are shown
    Failed,  // the server could not be read: TeamProblem() says why
};

class GaugeHistory {
public:
    // Entries read from the local file at a time.
    static constexpr int PageSize = 100;

    // Reads the first page (and the team's entries in the background).
    GaugeHistory(HistorySources sources, QString serialNumber);
    ~GaugeHistory();
    GaugeHistory(const GaugeHistory&) = delete;
    GaugeHistory& operator=(const GaugeHistory&) = delete;

    const QString& SerialNumber() const { return serialNumber_; }

    // The entries shown, newest first.
    const std::vector<LogbookEntry>& Entries() const { return shown_; }
    // Only entries of kind (none: every kind); starts again at the newest.
    void SetKind(std::optional<LogbookKind> kind);
    std::optional<LogbookKind> Kind() const { return kind_; }
    // Whether the local file has older entries than those shown, and reads
    // the next page of them.
    bool CanLoadMore() const { return !localDone_; }
    void LoadMore();

    // Every precision test of the gauge, oldest first: those of the local
    // logbook once TestsRead() (just after the first page, when the
    // program's event loop runs next), the team's as they arrive.
    const std::vector<DeviationPoint>& Deviations() const { return deviations_; }
    bool TestsRead() const { return testsRead_; }

    TeamHistoryState TeamState() const { return teamState_; }
    // The team server as messages name it (empty when none is set).
    QString TeamServer() const { return sources_.team ? sources_.team->Shown() : QString(); }
    // Why the team's entries are missing, in the current language (empty
    // unless Failed).
    QString TeamProblem() const { return teamProblem_; }

    // Every entry of the current kind (all of the local file's, and the
    // team's read so far) as a CSV file (LogbookCsv). false and the reason
    // in error when it could not be written.
    bool ExportCsv(const QString& path, QString* error = nullptr);

    // Called whenever the entries, the deviations or the team state change
    // (also when the team's entries arrive).
    void SetChanged(std::function<void()> changed) { changed_ = std::move(changed); }

private:
    void ReadLocalPage();
    void ReadLocalTests();
    void TeamPage(const TeamHistoryReader::Page& page);
    // Merges the local pages and the team's entries into shown_.
    void Merge();
    void MergeDeviations();
    void Changed();
    std::vector<LogbookEntry> TeamEntriesOfKind() const;

    HistorySources sources_;
    QString serialNumber_;
    std::optional<LogbookKind> kind_;
    LocalLogbook local_;
    std::vector<LogbookEntry> localEntries_;
    bool localDone_ = false;
    std::vector<LogbookEntry> localTests_;
    bool testsRead_ = false;
    std::unique_ptr<QObject> later_; // the reading of the tests waits on it
    std::vector<LogbookEntry> teamEntries_;
    QSet<QUuid> teamIds_;
    TeamHistoryState teamState_ = TeamHistoryState::NotSet;
    QString teamProblem_;
    std::unique_ptr<TeamHistoryReader> reader_;
    std::vector<LogbookEntry> shown_;
    std::vector<DeviationPoint> deviations_;
    std::function<void()> changed_;
};
