#pragma once

#include "progress_charts.h"
#include "session/book_session.h"

#include "session/progress_numbers.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QLabel;
class QTableView;
class QTabWidget;

namespace progress {

class ChartTable;
class ChartView;

// The progress view: a window of its own with its charts, one tab each, and
// beside each chart its numbers as a table. While it is shown it follows the session's
// book, history and mode; the main window saves the shown chart when asked. Numbers it
// already shows cost nothing to show again.
class ProgressWindow : public QWidget {
    Q_OBJECT

public:
    // `caption` makes the window's title from the book's title.
    ProgressWindow(const session::BookSession& session,
                   std::function<QString(const QString& bookTitle)> caption,
                   QWidget* parent = nullptr);

    // The chart on the current tab as a PNG image.
    QByteArray shownChartPng() const;

Q_SIGNALS:
    void saveRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Shows the session's numbers in its mode, when the window is shown.
    void refresh();

    const session::BookSession& session_;
    std::function<QString(const QString&)> caption_;
    QLabel* summary_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    std::array<ChartView*, kChartCount> charts_{};
    std::array<QTableView*, kChartCount> tables_{};
    std::array<ChartTable*, kChartCount> tableModels_{};
    std::optional<session::ProgressNumbers> shown_;
};

} // namespace progress
