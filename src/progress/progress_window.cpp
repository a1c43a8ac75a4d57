#include "progress_window.h"

#include "chart_table.h"
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
#include <QTableView>
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

ProgressWindow::ProgressWindow(const session::BookSession& session,
                               std::function<QString(const QString&)> caption, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), caption_(std::move(caption)) {
    setObjectName(QStringLiteral("frmProgress"));
    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("lblProgressSummary"));
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    const std::array<Tab, kChartCount> tabs{{
        {"chtClassMemory", "tblClassMemory", QStringLiteral("単語クラス別(&1)"),
         QStringLiteral("単語クラス別"), QStringLiteral("単語クラス"),
         QStringLiteral("記憶単語数")},
        {"chtMemoryTotal", "tblMemoryTotal", QStringLiteral("記憶単語総数の推移(&2)"),
         QStringLiteral("記憶単語総数の推移"), QStringLiteral("ドリルの開始"),
         QStringLiteral("記憶単語総数")},
        {"chtStudyTime", "tblStudyTime", QStringLiteral("日ごとの学習時間(&3)"),
         QStringLiteral("日ごとの学習時間"), QStringLiteral("日付"), QStringLiteral("学習時間")},
        {"chtDueForecast", "tblDueForecast", QStringLiteral("復習の予定(&4)"),
         QStringLiteral("復習の予定"), QStringLiteral("日付"), QStringLiteral("復習する単語数")},
        {"chtRetention", "tblRetention", QStringLiteral("記憶率の推移(&5)"),
         QStringLiteral("記憶率の推移"), QStringLiteral("日付"), QStringLiteral("推定記憶率")},
    }};
    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("tabProgress"));
    for (int i = 0; i < kChartCount; ++i) {
        charts_[i] = new ChartView;
        charts_[i]->setObjectName(QLatin1StringView(tabs[i].chartName));
        tableModels_[i] = new ChartTable(tabs[i].labelHeader, tabs[i].valueHeader, this);
        tables_[i] = new QTableView;
        tables_[i]->setObjectName(QLatin1StringView(tabs[i].tableName));
        tables_[i]->setModel(tableModels_[i]);
        tables_[i]->setEditTriggers(QAbstractItemView::NoEditTriggers);
        tables_[i]->verticalHeader()->hide();
        // One line of text per row, so that a class list fits without much scrolling.
        tables_[i]->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        tables_[i]->verticalHeader()->setDefaultSectionSize(tables_[i]->fontMetrics().height() + 6);
        tables_[i]->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        // Sized to a sample of the rows: the rows of one table share one form.
        tables_[i]->horizontalHeader()->setResizeContentsPrecision(64);
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

    for (auto change : {&session::BookSession::bookLoaded, &session::BookSession::historyChanged})
        connect(&session, change, this, &ProgressWindow::refresh);
    connect(&session, &session::BookSession::modeChanged, this, &ProgressWindow::refresh);
    // The forecast follows the target retention.
    connect(&session, &session::BookSession::settingsChanged, this, &ProgressWindow::refresh);
}

void ProgressWindow::showEvent(QShowEvent* event) {
    refresh();
    QWidget::showEvent(event);
}

void ProgressWindow::refresh() {
    if (!isVisible())
        return;
    setWindowTitle(caption_(session_.title()));
    const session::ProgressNumbers numbers = session_.progress(session_.mode());
    if (shown_ == numbers)
        return;
    shown_ = numbers;
    summary_->setText(progressSummary(numbers));
    const std::array<Chart, kChartCount> charts = progressCharts(numbers);
    for (int i = 0; i < kChartCount; ++i) {
        charts_[i]->setChart(charts[i]);
        tableModels_[i]->setChart(charts[i]);
    }
    // The newest drill and day are what the learner looks for first.
    tables_[1]->scrollToBottom();
    tables_[2]->scrollToBottom();
    tables_[4]->scrollToBottom();
}

QByteArray ProgressWindow::shownChartPng() const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    charts_[tabs_->currentIndex()]->grab().save(&buffer, "PNG");
    return bytes;
}

} // namespace progress
