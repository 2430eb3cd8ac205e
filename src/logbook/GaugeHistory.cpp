#include "logbook/GaugeHistory.h"

#include "logbook/LogbookCsv.h"
#include "logbook/ProgramLogbook.h"
#include "ui/WideLanguageHandler.h"

#include <QTimer>
#include <algorithm>
#include <atomic>

namespace {

constexpr int TeamUnreadableText = 1026;

std::atomic<int> instances{0};

// Newest first; entries of the same millisecond by id, as the team server
// orders them.
bool Newer(const LogbookEntry& a, const LogbookEntry& b) {
    if (a.timeUtc != b.timeUtc)
        return a.timeUtc > b.timeUtc;
    return a.id.toString() > b.id.toString();
}

std::optional<double> Number(const QJsonValue& value) {
    if (value.isDouble())
        return value.toDouble();
    bool ok = false;
    const double number = value.toString().toDouble(&ok);
    return value.isString() && ok ? std::optional<double>(number) : std::nullopt;
}

} // namespace

HistorySources ProgramHistorySources() {
    HistorySources sources;
    if (auto* program = dynamic_cast<ProgramLogbook*>(ActiveLogbook())) {
        sources.localPath = program->Local().Path();
        sources.team = program->Team();
    } else {
        sources.localPath = DefaultLogbookPath();
    }
    return sources;
}

std::optional<DeviationPoint> PrecisionDeviation(const LogbookEntry& entry) {
    if (entry.kind != LogbookKind::PrecisionTest)
        return std::nullopt;
    const QJsonObject values = entry.details.value(QStringLiteral("values")).toObject();
    const std::optional<double> deviation = Number(values.value(QStringLiteral("DeviationMm")));
    const std::optional<double> permitted = Number(values.value(QStringLiteral("PermittedMm")));
    if (!deviation || !permitted)
        return std::nullopt;
    return DeviationPoint{entry.timeUtc, *deviation, *permitted,
                          entry.details.value(QStringLiteral("passed")).toBool()};
}

GaugeHistory::GaugeHistory(HistorySources sources, QString serialNumber)
    : sources_(std::move(sources)), serialNumber_(std::move(serialNumber)),
      local_(sources_.localPath, {}, QStringLiteral("tessra2-history-%1").arg(++instances)) {
    ReadLocalPage();
    // The accuracy tests of a gauge's whole life fill the chart once the
    // list is on screen: the window opens with its first page at once.
    later_ = std::make_unique<QObject>();
    QTimer::singleShot(0, later_.get(), [this] {
        ReadLocalTests();
        testsRead_ = true;
        MergeDeviations();
        Changed();
    });
    if (sources_.team) {
        teamState_ = TeamHistoryState::Reading;
        reader_ = std::make_unique<TeamHistoryReader>(
            *sources_.team, serialNumber_, sources_.connectTimeoutSeconds,
            [this](const TeamHistoryReader::Page& page) { TeamPage(page); });
    }
    Merge();
}

GaugeHistory::~GaugeHistory() = default;

void GaugeHistory::ReadLocalPage() {
    LogbookQuery query;
    query.serialNumber = serialNumber_;
    query.kind = kind_;
    query.limit = PageSize;
    if (!localEntries_.empty())
        query.olderThan = localEntries_.back().id;
    std::vector<LogbookEntry> page = local_.Read(query);
    localDone_ = page.size() < static_cast<std::size_t>(PageSize);
    localEntries_.insert(localEntries_.end(), std::make_move_iterator(page.begin()),
                         std::make_move_iterator(page.end()));
}

void GaugeHistory::ReadLocalTests() {
    LogbookQuery query;
    query.serialNumber = serialNumber_;
    query.kind = LogbookKind::PrecisionTest;
    query.limit = 0;
    localTests_ = local_.Read(query);
}

void GaugeHistory::SetKind(std::optional<LogbookKind> kind) {
    if (kind == kind_)
        return;
    kind_ = kind;
    localEntries_.clear();
    localDone_ = false;
    ReadLocalPage();
    Merge();
    Changed();
}

void GaugeHistory::LoadMore() {
    if (localDone_)
        return;
    ReadLocalPage();
    Merge();
    Changed();
}

std::vector<LogbookEntry> GaugeHistory::TeamEntriesOfKind() const {
    std::vector<LogbookEntry> entries;
    for (const LogbookEntry& entry : teamEntries_)
        if (!kind_ || entry.kind == *kind_)
            entries.push_back(entry);
    return entries;
}

void GaugeHistory::Merge() {
    shown_ = localEntries_;
    QSet<QUuid> ids;
    for (const LogbookEntry& entry : shown_)
        ids.insert(entry.id);
    // A team entry older than the oldest local one read so far waits for
    // the next local page, so that the list never skips a local entry.
    const std::optional<QDateTime> oldestRead = localDone_ || localEntries_.empty()
                                                    ? std::nullopt
                                                    : std::optional(localEntries_.back().timeUtc);
    for (LogbookEntry& entry : TeamEntriesOfKind()) {
        if (ids.contains(entry.id) || (oldestRead && entry.timeUtc < *oldestRead))
            continue;
        ids.insert(entry.id);
        shown_.push_back(std::move(entry));
    }
    std::stable_sort(shown_.begin(), shown_.end(), Newer);
}

void GaugeHistory::MergeDeviations() {
    deviations_.clear();
    QSet<QUuid> ids;
    const auto add = [&](const LogbookEntry& entry) {
        if (ids.contains(entry.id))
            return;
        ids.insert(entry.id);
        if (const std::optional<DeviationPoint> point = PrecisionDeviation(entry))
            deviations_.push_back(*point);
    };
    for (const LogbookEntry& entry : localTests_)
        add(entry);
    for (const LogbookEntry& entry : teamEntries_)
        add(entry);
    std::stable_sort(
        deviations_.begin(), deviations_.end(),
        [](const DeviationPoint& a, const DeviationPoint& b) { return a.timeUtc < b.timeUtc; });
}

void GaugeHistory::TeamPage(const TeamHistoryReader::Page& page) {
    for (const LogbookEntry& entry : page.entries) {
        if (teamIds_.contains(entry.id))
            continue;
        teamIds_.insert(entry.id);
        teamEntries_.push_back(entry);
    }
    if (page.outcome.status != TeamStatus::Sent) {
        teamState_ = TeamHistoryState::Failed;
        // The cause as the server or the network said it; a missing or
        // older table has none, and the sending's message names it.
        const QString cause = page.outcome.cause.isEmpty() ? page.outcome.Message(*sources_.team)
                                                           : page.outcome.cause;
        teamProblem_ = GetText(TeamUnreadableText).arg(sources_.team->Shown(), cause);
    } else if (page.last) {
        teamState_ = TeamHistoryState::Read;
    }
    Merge();
    MergeDeviations();
    Changed();
}

void GaugeHistory::Changed() {
    if (changed_)
        changed_();
}

bool GaugeHistory::ExportCsv(const QString& path, QString* error) {
    while (!localDone_)
        ReadLocalPage();
    Merge();
    const bool written = WriteLogbookCsv(path, shown_, error);
    Changed();
    return written;
}
