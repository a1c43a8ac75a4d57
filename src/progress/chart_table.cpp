#include "chart_table.h"

namespace progress {

ChartTable::ChartTable(QString labelHeader, QString valueHeader, QObject* parent)
    : QAbstractTableModel(parent), labelHeader_(std::move(labelHeader)),
      valueHeader_(std::move(valueHeader)) {}

void ChartTable::setChart(const Chart& chart) {
    beginResetModel();
    chart_ = chart;
    endResetModel();
}

int ChartTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(chart_.values.size());
}

int ChartTable::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant ChartTable::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (role == Qt::DisplayRole)
        return index.column() == 0 ? chart_.fullLabel(index.row()) : chart_.valueText(index.row());
    if (role == Qt::TextAlignmentRole && index.column() == 1)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ChartTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? labelHeader_ : valueHeader_;
}

} // namespace progress
