#pragma once

// The time and value list of a compare chart, newest first: row 0 is the
// last point. The rows are read from the chart's points when they are
// shown, so a list of a whole day's measurements costs no item objects.

#include <QAbstractTableModel>

class ComparePoints;

class CompareValuesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { TimeColumn, ValueColumn, ColumnCount };

    explicit CompareValuesModel(const ComparePoints& points, QObject* parent = nullptr);

    // The points grew from shownBefore to their current count: the new ones
    // are inserted at the top.
    void PointsAdded(std::size_t shownBefore);
    // The points were emptied.
    void PointsCleared();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const ComparePoints& points_;
    int rows_ = 0;
};
