#include "chart_view.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace progress {

namespace {

constexpr int kMargin = 10;
constexpr int kGap = 6;
const QColor kBarColour(0x3b, 0x6e, 0xc4);
const QColor kGridColour(0xdd, 0xdd, 0xdd);
const QColor kAxisColour(0x44, 0x44, 0x44);

QString tickText(double value, double step) {
    return step >= 1 ? QString::number(qRound64(value)) : QString::number(value, 'f', 1);
}

double highestOf(const QList<double>& values) {
    return values.isEmpty() ? 0 : *std::max_element(values.begin(), values.end());
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

    int labelWidth = 0;
    for (const QString& label : chart.labels)
        labelWidth = std::max(labelWidth, fm.horizontalAdvance(label));
    labelWidth = std::min(labelWidth, area.width() * 2 / 5);
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
                   fm.elidedText(chart.labels.value(i), Qt::ElideRight, labelWidth));
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
    int labelWidth = 0;
    for (const QString& label : chart.labels)
        labelWidth = std::max(labelWidth, fm.horizontalAdvance(label));
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

    const int count = int(chart.values.size());
    const double slot = double(plot.width()) / count;
    const auto xOf = [&](int i) { return plot.left() + int(slot * (i + 0.5)); };
    // Every k-th label, counted back from the newest, so that none overlaps the next.
    const int every = std::max(1, int(std::ceil((labelWidth + kGap) / slot)));
    for (int i = count - 1; i >= 0; i -= every) {
        const QString& label = chart.labels.value(i);
        const int width = fm.horizontalAdvance(label);
        p.drawText(QRect(xOf(i) - width / 2 - 1, tickTop, width + 2, line), Qt::AlignHCenter,
                   label);
    }

    if (chart.kind == Chart::Kind::DayBars) {
        const int barWidth = std::max(1, int(slot * 0.7));
        for (int i = 0; i < count; ++i) {
            if (chart.values[i] > 0)
                p.fillRect(QRect(QPoint(xOf(i) - barWidth / 2, yOf(chart.values[i])),
                                 QPoint(xOf(i) - barWidth / 2 + barWidth - 1, plot.bottom())),
                           kBarColour);
        }
    } else {
        QPainterPath path;
        for (int i = 0; i < count; ++i) {
            const QPointF point(xOf(i), yOf(chart.values[i]));
            i == 0 ? path.moveTo(point) : path.lineTo(point);
        }
        p.setPen(QPen(kBarColour, 2));
        p.drawPath(path);
        p.setBrush(kBarColour);
        for (int i = 0; i < count; ++i)
            p.drawEllipse(QPointF(xOf(i), yOf(chart.values[i])), 3, 3);
        p.setBrush(Qt::NoBrush);
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
    QStringList numbers;
    for (int i = 0; i < chart_.values.size(); ++i)
        numbers << (chart_.fullLabels.isEmpty() ? chart_.labels : chart_.fullLabels).value(i) +
                       QStringLiteral(" ") + chart_.valueTexts.value(i);
    setAccessibleDescription(numbers.isEmpty() ? chart_.emptyText
                                               : numbers.join(QStringLiteral("、")));
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
