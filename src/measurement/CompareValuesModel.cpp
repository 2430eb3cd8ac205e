#include "measurement/CompareValuesModel.h"

#include "measurement/ComparePoints.h"

#include <limits>

namespace {

int Rows(std::size_t count) {
    return static_cast<int>(std::min<std::size_t>(count, std::numeric_limits<int>::max()));
}

} // namespace

CompareValuesModel::CompareValuesModel(const ComparePoints& points, QObject* parent)
    : QAbstractTableModel(parent), points_(points), rows_(Rows(points.Count())) {}

void CompareValuesModel::PointsAdded(std::size_t shownBefore) {
    const int now = Rows(points_.Count());
    const int before = std::min(Rows(shownBefore), now);
    if (now == before)
        return;
    beginInsertRows(QModelIndex(), 0, now - before - 1);
    rows_ = now;
    endInsertRows();
}

void CompareValuesModel::PointsCleared() {
    beginResetModel();
    rows_ = 0;
    endResetModel();
}

int CompareValuesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int CompareValuesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CompareValuesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_)
        return {};
    if (role == Qt::TextAlignmentRole && index.column() == ValueColumn)
        return QVariant(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    const std::size_t point = static_cast<std::size_t>(rows_ - 1 - index.row());
    return index.column() == TimeColumn ? points_.TimeText(point) : points_.ValueText(point);
}

QVariant CompareValuesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole && section == ValueColumn)
        return QVariant(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    // Fixed captions, the same in every language.
    return section == TimeColumn ? QStringLiteral("Time") : QStringLiteral("Value");
}

Qt::ItemFlags CompareValuesModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
