#include "progress_window.h"

#include "chart_view.h"
#include "progress_charts.h"

#include <QBuffer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace progress {

namespace {

struct Tab {
    const char* chartName;
    const char* tableName;
    QString caption; // the tab's text, with its mnemonic
    QString name;    // the same for screen readers
    QString labelHeader;
    QString valueHeader;
};

} // namespace

ProgressWindow::ProgressWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmProgress"));
    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("lblProgressSummary"));
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    const std::array<Tab, 3> tabs{{
        {"chtClassMemory", "tblClassMemory", QStringLiteral("単語クラス別(&1)"),
         QStringLiteral("単語クラス別"), QStringLiteral("単語クラス"),
         QStringLiteral("記憶単語数")},
        {"chtMemoryTotal", "tblMemoryTotal", QStringLiteral("記憶単語総数の推移(&2)"),
         QStringLiteral("記憶単語総数の推移"), QStringLiteral("ドリルの開始"),
         QStringLiteral("記憶単語総数")},
        {"chtStudyTime", "tblStudyTime", QStringLiteral("日ごとの学習時間(&3)"),
         QStringLiteral("日ごとの学習時間"), QStringLiteral("日付"), QStringLiteral("学習時間")},
    }};
    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("tabProgress"));
    for (int i = 0; i < 3; ++i) {
        charts_[i] = new ChartView;
        charts_[i]->setObjectName(QLatin1StringView(tabs[i].chartName));
        tables_[i] = new QTableWidget(0, 2);
        tables_[i]->setObjectName(QLatin1StringView(tabs[i].tableName));
        tables_[i]->setHorizontalHeaderLabels({tabs[i].labelHeader, tabs[i].valueHeader});
        tables_[i]->setEditTriggers(QAbstractItemView::NoEditTriggers);
        tables_[i]->verticalHeader()->hide();
        // One line of text per row, so that a class list fits without much scrolling.
        tables_[i]->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        tables_[i]->verticalHeader()->setDefaultSectionSize(tables_[i]->fontMetrics().height() + 6);
        tables_[i]->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        tables_[i]->horizontalHeader()->setStretchLastSection(true);
        tables_[i]->setAccessibleName(tabs[i].name + QStringLiteral("の数値"));
        tables_[i]->setMinimumWidth(210);
        tables_[i]->setMaximumWidth(260);
        auto* page = new QWidget;
        auto* row = new QHBoxLayout(page);
        row->addWidget(charts_[i], 1);
        row->addWidget(tables_[i]);
        tabs_->addTab(page, tabs[i].caption);
    }

    auto* save = new QPushButton(QStringLiteral("グラフを画像で保存(&S)..."));
    save->setObjectName(QStringLiteral("cmdSaveChart"));
    connect(save, &QPushButton::clicked, this, &ProgressWindow::saveRequested);
    auto* close = new QPushButton(QStringLiteral("閉じる(&C)"));
    close->setObjectName(QStringLiteral("cmdCloseProgress"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);

    // As large as is comfortable, but never larger than the screen.
    QSize size(820, 560);
    if (const QScreen* shown = screen())
        size = size.boundedTo(shown->availableSize() * 0.9);
    resize(size);
}

void ProgressWindow::showNumbers(const session::ProgressNumbers& numbers, const QString& caption) {
    setWindowTitle(caption);
    summary_->setText(progressSummary(numbers));
    const std::array<Chart, 3> charts = progressCharts(numbers);
    for (int i = 0; i < 3; ++i) {
        const Chart& chart = charts[i];
        charts_[i]->setChart(chart);
        QTableWidget* table = tables_[i];
        table->setRowCount(int(chart.values.size()));
        const QStringList& labels = chart.fullLabels.isEmpty() ? chart.labels : chart.fullLabels;
        for (int row = 0; row < chart.values.size(); ++row) {
            table->setItem(row, 0, new QTableWidgetItem(labels.value(row)));
            auto* value = new QTableWidgetItem(chart.valueTexts.value(row));
            value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(row, 1, value);
        }
    }
    // The newest drill and day are what the learner looks for first.
    tables_[1]->scrollToBottom();
    tables_[2]->scrollToBottom();
}

QByteArray ProgressWindow::shownChartPng() const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    charts_[tabs_->currentIndex()]->grab().save(&buffer, "PNG");
    return bytes;
}

} // namespace progress
