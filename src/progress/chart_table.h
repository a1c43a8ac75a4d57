#pragma once

#include "chart_view.h"

#include <QAbstractTableModel>

namespace progress {

// A chart's numbers as a table of two columns, label and value, for the table beside the
// chart. The texts are made only for the rows shown, so a chart of any length is cheap.
class ChartTable : public QAbstractTableModel {
    Q_OBJECT

public:
    ChartTable(QString labelHeader, QString valueHeader, QObject* parent = nullptr);

    void setChart(const Chart& chart);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString labelHeader_;
    QString valueHeader_;
    Chart chart_;
};

} // namespace progress
