#include "logbook/GaugeHistoryTable.h"

#include "ui/WideLanguageHandler.h"

#include <algorithm>
#include <array>

namespace {

struct KindText {
    LogbookKind kind;
    int textId;
};
constexpr std::array KindTexts = {
    KindText{LogbookKind::Connection, 1003},
    KindText{LogbookKind::ConfigurationRead, 1004},
    KindText{LogbookKind::ConfigurationWrite, 1005},
    KindText{LogbookKind::ConfigurationExport, 1006},
    KindText{LogbookKind::ConfigurationImport, 1007},
    KindText{LogbookKind::ClockSet, 1008},
    KindText{LogbookKind::ClockSync, 1009},
    KindText{LogbookKind::TotalReset, 1010},
    KindText{LogbookKind::FactoryReset, 1011},
    KindText{LogbookKind::FirmwareUpdate, 1012},
    KindText{LogbookKind::PrecisionTest, 1013},
    KindText{LogbookKind::MeasurementRun, 1014},
};

constexpr std::array ColumnTexts = {1015, 1016, 1017, 1018, 1019, 1020};

const QString ShownTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

} // namespace

QString LogbookKindText(LogbookKind kind) {
    for (const KindText& row : KindTexts)
        if (row.kind == kind)
            return GetText(row.textId);
    return KindName(kind);
}

GaugeHistoryTable::GaugeHistoryTable(GaugeHistory& history, QObject* parent)
    : QAbstractTableModel(parent), history_(history) {
    for (const LogbookEntry& entry : history_.Entries())
        ids_.push_back(entry.id);
}

int GaugeHistoryTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(ids_.size());
}

int GaugeHistoryTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(ColumnTexts.size());
}

QVariant GaugeHistoryTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() ||
        static_cast<std::size_t>(index.row()) >= history_.Entries().size())
        return {};
    const LogbookEntry& entry = history_.Entries()[static_cast<std::size_t>(index.row())];
    if (role == Qt::ToolTipRole && !entry.files.isEmpty())
        return entry.files.join(u'\n');
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case TimeColumn:
        return entry.timeUtc.toLocalTime().toString(ShownTimeFormat);
    case KindColumn:
        return LogbookKindText(entry.kind);
    case SummaryColumn:
        return entry.summary;
    case UserColumn:
        return entry.osUser;
    case HostColumn:
        return entry.host;
    case FirmwareColumn:
        return entry.gauge.firmwareVersion;
    default:
        return {};
    }
}

QVariant GaugeHistoryTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(ColumnTexts.size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    return GetText(ColumnTexts[static_cast<std::size_t>(section)]);
}

bool GaugeHistoryTable::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && history_.CanLoadMore();
}

void GaugeHistoryTable::fetchMore(const QModelIndex& parent) {
    if (parent.isValid())
        return;
    // The history says it changed, and the table is shown again.
    history_.LoadMore();
}

void GaugeHistoryTable::Reload() {
    const std::vector<LogbookEntry>& entries = history_.Entries();
    const bool appended =
        entries.size() >= ids_.size() &&
        std::equal(ids_.begin(), ids_.end(), entries.begin(),
                   [](const QUuid& id, const LogbookEntry& entry) { return id == entry.id; });
    if (appended && entries.size() == ids_.size())
        return;
    // A page read at the end keeps the place and the selection in the list.
    if (appended)
        beginInsertRows({}, static_cast<int>(ids_.size()), static_cast<int>(entries.size()) - 1);
    else
        beginResetModel();
    ids_.clear();
    for (const LogbookEntry& entry : entries)
        ids_.push_back(entry.id);
    if (appended)
        endInsertRows();
    else
        endResetModel();
}

void GaugeHistoryTable::Retranslate() {
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    if (rowCount() > 0)
        emit dataChanged(index(0, KindColumn), index(rowCount() - 1, KindColumn));
}
