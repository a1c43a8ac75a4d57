#pragma once

#include "session/progress_numbers.h"

#include <QWidget>

#include <array>
#include <optional>

class QLabel;
class QTableView;
class QTabWidget;

namespace progress {

class ChartTable;
class ChartView;

// The progress view: a window of its own with the three charts, one tab each, and
// beside each chart its numbers as a table. The main window hands it the numbers and
// saves the shown chart when asked. Numbers it already shows cost nothing to hand again.
class ProgressWindow : public QWidget {
    Q_OBJECT

public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    void showNumbers(const session::ProgressNumbers& numbers, const QString& caption);
    // The chart on the current tab as a PNG image.
    QByteArray shownChartPng() const;

Q_SIGNALS:
    void saveRequested();

private:
    QLabel* summary_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    std::array<ChartView*, 3> charts_{};
    std::array<QTableView*, 3> tables_{};
    std::array<ChartTable*, 3> tableModels_{};
    std::optional<session::ProgressNumbers> shown_;
};

} // namespace progress
