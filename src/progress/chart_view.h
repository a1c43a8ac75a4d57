#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

namespace progress {

// What one chart shows: a value per label, and the texts that say what they mean.
struct Chart {
    enum class Kind {
        ClassBars, // horizontal bars, one per class, names on the left
        Line,      // one point per value, joined
        DayBars,   // vertical bars, one per day
    };
    Kind kind = Kind::ClassBars;
    QString title{};
    QString valueAxis{};    // the value axis's title, with its unit
    QString categoryAxis{}; // the other axis's title
    QList<double> values{};
    // The texts of value i, made only when shown: a long history has far more values than
    // are ever read at once.
    std::function<QString(qsizetype)> label{};     // short enough for the axis
    std::function<QString(qsizetype)> fullLabel{}; // in full, for the table and screen readers
    std::function<QString(qsizetype)> valueText{}; // as people read it, with its unit
    double minimumTop = 10;                        // the value axis reaches at least this far
    QString emptyText{};                           // shown when there are no values
};

// Draws a chart with QPainter: a title, the value axis with ticks and its unit, labels
// along the other axis, and the values, however many: one pixel column draws all that fall
// into it. Its accessible description lists the numbers, the newest ones of a long chart.
class ChartView : public QWidget {
    Q_OBJECT

public:
    explicit ChartView(QWidget* parent = nullptr);

    void setChart(Chart chart);
    const Chart& chart() const { return chart_; }
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override { return {560, 400}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Chart chart_;
};

// The value axis's top and its step between ticks, round numbers that cover `highest`.
struct AxisScale {
    double top = 0;
    double step = 0;
};
AxisScale axisScale(double highest, double minimumTop);

} // namespace progress
