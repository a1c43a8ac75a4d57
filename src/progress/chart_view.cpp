#include "chart_view.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace progress {

namespace {

constexpr int kMargin = 10;
constexpr int kGap = 6;
const QColor kBarColour(0x3b, 0x6e, 0xc4);
const QColor kGridColour(0xdd, 0xdd, 0xdd);
const QColor kAxisColour(0x44, 0x44, 0x44);
// A screen reader reads this many of the newest values; the table has them all.
constexpr qsizetype kDescribedValues = 60;
// Labels of one chart share one form; this many of them tell its widest.
constexpr qsizetype kMeasuredLabels = 64;

QString tickText(double value, double step) {
    return step >= 1 ? QString::number(qRound64(value)) : QString::number(value, 'f', 1);
}

double highestOf(const QList<double>& values) {
    return values.isEmpty() ? 0 : *std::max_element(values.begin(), values.end());
}

int widestLabel(const Chart& chart, const QFontMetrics& fm) {
    const qsizetype count = chart.values.size();
    const qsizetype step = std::max<qsizetype>(1, count / kMeasuredLabels);
    int width = 0;
    for (qsizetype i = count - 1; i >= 0; i -= step)
        width = std::max(width, fm.horizontalAdvance(chart.label(i)));
    return width;
}

// The values as a line through every pixel column they fall into: a column of many values
// is drawn as the range they span, so that no peak is lost and a long history draws as
// fast as a short one. Separate segments: the raster engine fills one long path that
// doubles back on itself in time that grows with its crossings.
QList<QLineF> lineSegments(const QList<double>& values, const auto& xOf, const auto& yOf) {
    QList<QLineF> segments;
    const qsizetype count = values.size();
    QPointF previous;
    for (qsizetype i = 0, next = 0; i < count; i = next) {
        const int x = xOf(i);
        double low = values[i];
        double high = values[i];
        for (next = i + 1; next < count && xOf(next) == x; ++next) {
            low = std::min(low, values[next]);
            high = std::max(high, values[next]);
        }
        const QPointF first(x, yOf(values[i]));
        if (i > 0)
            segments.append({previous, first});
        if (low < high)
            segments.append({QPointF(x, yOf(low)), QPointF(x, yOf(high))});
        previous = QPointF(x, yOf(values[next - 1]));
    }
    return segments;
}

// Draws the class bars: names on the left, the value axis along the bottom.
void paintClassBars(QPainter& p, const Chart& chart, QRect area, const QFontMetrics& fm) {
    const AxisScale scale = axisScale(highestOf(chart.values), chart.minimumTop);
    const int line = fm.height();
    p.setPen(kAxisColour);
    p.drawText(QRect(area.left(), area.top(), area.width(), line), Qt::AlignLeft,
               chart.categoryAxis);
    const QRect axisTitle(area.left(), area.bottom() - line + 1, area.width(), line);
    const int tickTop = axisTitle.top() - line - 2;

    const int labelWidth = std::min(widestLabel(chart, fm), area.width() * 2 / 5);
    const int numberWidth = fm.horizontalAdvance(tickText(scale.top, scale.step)) + kGap;
    const QRect plot(QPoint(area.left() + labelWidth + kGap, area.top() + line + kGap),
                     QPoint(area.right() - numberWidth, tickTop - 4));
    p.drawText(QRect(plot.left(), axisTitle.top(), plot.width(), line), Qt::AlignHCenter,
               chart.valueAxis);

    const auto xOf = [&](double value) {
        return plot.left() +
               int(std::lround(std::clamp(value, 0.0, scale.top) / scale.top * plot.width()));
    };
    for (double v = 0; v <= scale.top + scale.step / 2; v += scale.step) {
        const int x = xOf(v);
        p.setPen(kGridColour);
        p.drawLine(x, plot.top(), x, plot.bottom());
        p.setPen(kAxisColour);
        const QString text = tickText(v, scale.step);
        const int width = fm.horizontalAdvance(text);
        p.drawText(QRect(x - width, tickTop, 2 * width, line), Qt::AlignHCenter, text);
    }

    const int count = int(chart.values.size());
    const double row = double(plot.height()) / count;
    // A book of few classes still gets bars, not blocks.
    const int barHeight = std::clamp(int(row * 0.6), 2, line * 3 / 2);
    for (int i = 0; i < count; ++i) {
        const int centre = plot.top() + int(row * (i + 0.5));
        const QRect labelRect(area.left(), centre - line / 2, labelWidth, line);
        p.setPen(kAxisColour);
        p.drawText(labelRect, Qt::AlignRight | Qt::AlignVCenter,
                   fm.elidedText(chart.label(i), Qt::ElideRight, labelWidth));
        const int right = xOf(chart.values[i]);
        p.fillRect(QRect(QPoint(plot.left(), centre - barHeight / 2),
                         QPoint(std::max(right, plot.left() + 1), centre + barHeight / 2)),
                   kBarColour);
        p.drawText(QRect(right + 3, centre - line / 2, numberWidth + plot.width(), line),
                   Qt::AlignLeft | Qt::AlignVCenter, tickText(chart.values[i], 1));
    }
    p.setPen(kAxisColour);
    p.drawLine(plot.left(), plot.top(), plot.left(), plot.bottom());
}

// Draws values in columns, as a line or as bars: the value axis on the left, the labels
// along the bottom, as many as fit.
void paintColumns(QPainter& p, const Chart& chart, QRect area, const QFontMetrics& fm) {
    const AxisScale scale = axisScale(highestOf(chart.values), chart.minimumTop);
    const int line = fm.height();
    p.setPen(kAxisColour);
    p.drawText(QRect(area.left(), area.top(), area.width(), line), Qt::AlignLeft, chart.valueAxis);
    const QRect axisTitle(area.left(), area.bottom() - line + 1, area.width(), line);
    const int tickTop = axisTitle.top() - line - 2;

    int tickWidth = 0;
    for (double v = 0; v <= scale.top + scale.step / 2; v += scale.step)
        tickWidth = std::max(tickWidth, fm.horizontalAdvance(tickText(v, scale.step)));
    const int labelWidth = widestLabel(chart, fm);
    const QRect plot(QPoint(area.left() + tickWidth + kGap, area.top() + line + kGap + line / 2),
                     QPoint(area.right() - labelWidth / 2, tickTop - 4));
    p.drawText(QRect(plot.left(), axisTitle.top(), plot.width(), line), Qt::AlignHCenter,
               chart.categoryAxis);

    const auto yOf = [&](double value) {
        return plot.bottom() -
               int(std::lround(std::clamp(value, 0.0, scale.top) / scale.top * plot.height()));
    };
    for (double v = 0; v <= scale.top + scale.step / 2; v += scale.step) {
        const int y = yOf(v);
        p.setPen(kGridColour);
        p.drawLine(plot.left(), y, plot.right(), y);
        p.setPen(kAxisColour);
        p.drawText(QRect(area.left(), y - line / 2, tickWidth, line),
                   Qt::AlignRight | Qt::AlignVCenter, tickText(v, scale.step));
    }

    const qsizetype count = chart.values.size();
    const double slot = double(plot.width()) / double(count);
    const auto xOf = [&](qsizetype i) { return plot.left() + int(slot * (double(i) + 0.5)); };
    // Every k-th label, counted back from the newest, so that none overlaps the next.
    const int every = std::max(1, int(std::ceil((labelWidth + kGap) / slot)));
    for (qsizetype i = count - 1; i >= 0; i -= every) {
        const QString label = chart.label(i);
        const int width = fm.horizontalAdvance(label);
        p.drawText(QRect(xOf(i) - width / 2 - 1, tickTop, width + 2, line), Qt::AlignHCenter,
                   label);
    }

    if (chart.kind == Chart::Kind::DayBars) {
        const int barWidth = std::max(1, int(slot * 0.7));
        for (qsizetype i = 0; i < count; ++i) {
            if (chart.values[i] > 0)
                p.fillRect(QRect(QPoint(xOf(i) - barWidth / 2, yOf(chart.values[i])),
                                 QPoint(xOf(i) - barWidth / 2 + barWidth - 1, plot.bottom())),
                           kBarColour);
        }
    } else {
        p.setPen(QPen(kBarColour, 2));
        p.drawLines(lineSegments(chart.values, xOf, yOf));
        // Points only where they stand apart.
        if (slot >= 8) {
            p.setBrush(kBarColour);
            for (qsizetype i = 0; i < count; ++i)
                p.drawEllipse(QPointF(xOf(i), yOf(chart.values[i])), 3, 3);
            p.setBrush(Qt::NoBrush);
        }
    }
    p.setPen(kAxisColour);
    p.drawLine(plot.left(), plot.top(), plot.left(), plot.bottom());
    p.drawLine(plot.left(), plot.bottom(), plot.right(), plot.bottom());
}

} // namespace

AxisScale axisScale(double highest, double minimumTop) {
    const double target = std::max({highest, minimumTop, 1.0});
    const double raw = target / 5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double normalised = raw / magnitude;
    const double step = (normalised <= 1   ? 1
                         : normalised <= 2 ? 2
                         : normalised <= 5 ? 5
                                           : 10) *
                        magnitude;
    return {std::ceil(target / step - 1e-9) * step, step};
}

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusPolicy(Qt::TabFocus); // a screen reader reaches the chart and its numbers
}

void ChartView::setChart(Chart chart) {
    chart_ = std::move(chart);
    setAccessibleName(chart_.title);
    const qsizetype count = chart_.values.size();
    QStringList numbers;
    for (qsizetype i = std::max<qsizetype>(0, count - kDescribedValues); i < count; ++i)
        numbers << chart_.fullLabel(i) + QStringLiteral(" ") + chart_.valueText(i);
    QString description = numbers.join(QStringLiteral("、"));
    if (count > kDescribedValues)
        description = QStringLiteral("全%1件のうち最新の%2件：").arg(count).arg(kDescribedValues) +
                      description;
    setAccessibleDescription(count == 0 ? chart_.emptyText : description);
    updateGeometry();
    update();
}

QSize ChartView::minimumSizeHint() const {
    const int line = fontMetrics().height();
    // Class bars need a line per class; the columns a few lines of ticks.
    const int rows = chart_.kind == Chart::Kind::ClassBars ? int(chart_.values.size()) : 8;
    return {360, 2 * kMargin + 5 * line + 4 * kGap + rows * (line + 2)};
}

void ChartView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    QRect area = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);

    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(font().pointSizeF() * 1.15);
    const QFontMetrics titleMetrics(titleFont);
    p.setFont(titleFont);
    p.setPen(kAxisColour);
    p.drawText(QRect(area.left(), area.top(), area.width(), titleMetrics.height()),
               Qt::AlignHCenter,
               titleMetrics.elidedText(chart_.title, Qt::ElideRight, area.width()));
    area.setTop(area.top() + titleMetrics.height() + kGap);
    p.setFont(font());

    if (chart_.values.isEmpty()) {
        p.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, chart_.emptyText);
        return;
    }
    if (chart_.kind == Chart::Kind::ClassBars)
        paintClassBars(p, chart_, area, fontMetrics());
    else
        paintColumns(p, chart_, area, fontMetrics());
}

} // namespace progress
