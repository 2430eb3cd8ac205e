#pragma once

// The history window's list: one row per entry of a GaugeHistory, newest
// first; columns time (local), kind, summary, user, computer and firmware.
// Scrolling to its end reads the next page of the local logbook.

#include "logbook/GaugeHistory.h"

#include <QAbstractTableModel>
#include <QUuid>
#include <vector>

// The name of a kind in the current language.
QString LogbookKindText(LogbookKind kind);

class GaugeHistoryTable : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { TimeColumn, KindColumn, SummaryColumn, UserColumn, HostColumn, FirmwareColumn };

    // history: not owned; it tells the table when it changes.
    explicit GaugeHistoryTable(GaugeHistory& history, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // The history's entries changed: the rows are shown again.
    void Reload();
    // The headers in the current language.
    void Retranslate();

private:
    GaugeHistory& history_;
    // The entries the rows show, by id, as the view last heard of them.
    std::vector<QUuid> ids_;
};
