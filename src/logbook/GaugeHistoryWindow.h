#pragma once

// The gauge history window: one gauge's logbook entries, newest first, with
// a filter by kind, a chart of the precision tests' deviations over time
// within their permitted band, the export as CSV, and a double click that
// opens the file an entry refers to. It reads through GaugeHistory and
// only shows what that reports.

#include "logbook/GaugeHistory.h"
#include "logbook/GaugeHistoryTable.h"

#include <QDialog>
#include <memory>

class QChartView;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

class GaugeHistoryWindow : public QDialog {
    Q_OBJECT
public:
    GaugeHistoryWindow(HistorySources sources, const QString& serialNumber,
                       QWidget* parent = nullptr);
    ~GaugeHistoryWindow() override;

    GaugeHistory& History() { return *history_; }

    // The handlers.
    void KindFilterChange(int index);
    void EntryDoubleClick(const QModelIndex& index);
    void ExportButtonClick();
    void Retranslate();

    QComboBox* KindFilter = nullptr;
    QTableView* EntryList = nullptr;
    QChartView* DeviationChart = nullptr;
    QPushButton* ExportButton = nullptr;
    QLabel* TeamLabel = nullptr;

protected:
    void changeEvent(QEvent* event) override;

private:
    void HistoryChanged();
    void ShowDeviations();
    void ShowTeamState();

    std::unique_ptr<GaugeHistory> history_;
    GaugeHistoryTable* table_ = nullptr;
};

// Opens the file entry refers to with the desktop's program for it (the
// first of its files that is still there); tells the user when none is.
// false when nothing was opened.
bool OpenEntryFile(const LogbookEntry& entry);

// Shows the history window of the gauge with serialNumber, read from the
// running program's logbook (ProgramHistorySources); it closes itself
// when closed. Returns it.
GaugeHistoryWindow* ShowGaugeHistory(const QString& serialNumber, QWidget* parent = nullptr);
