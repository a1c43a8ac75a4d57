// The progress view on the real window: F6 opens it with the three charts of the book
// and the history, and it follows the mode, a finished drill and a reloaded book.
#include "mainwin/main_window.h"
#include "progress/chart_view.h"
#include "test_book.h"
#include "test_doubles.h"
#include "window_rig.h"

#include "book/record_map.h"

#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class FixedCalendar : public folder::Calendar {
public:
    QDateTime localNow() const override { return {QDate(2026, 12, 7), QTime(20, 0)}; }
};

} // namespace

class TestProgressView : public QObject, private testsupport::WindowRig {
    Q_OBJECT

    FixedCalendar fixedCalendar;
    std::unique_ptr<mainwin::MainWindow> window;

    QWidget* view() { return window->findChild<QWidget*>(u"frmProgress"_s); }
    QList<double> values(const char* chart) {
        return testsupport::namedChild<progress::ChartView>(view(), QLatin1StringView(chart))
            ->chart()
            .values;
    }

private Q_SLOTS:
    void init() {
        initRig();
        calendar = &fixedCalendar;
    }

    void followsModeDrillAndBook() {
        const QString bookPath = dir->filePath(u"Word.dat"_s);
        testsupport::writeBook(bookPath, 2);
        for (int i = 0; i < 12; ++i) {
            book::WordRecord word = testsupport::readRecord(bookPath, book::firstWordRecord(0) + i);
            word.modeCount = {book::kMemorisedMark, i < 5 ? book::kMemorisedMark : qint16(0), 0};
            testsupport::writeRecord(bookPath, book::firstWordRecord(0) + i, word);
        }
        QFile history(dir->filePath(u"history.tsv"_s));
        QVERIFY(history.open(QIODevice::WriteOnly));
        history.write("start\tbook\tclass\tmode\tseconds\tright\tmisses\tclass_memorised\t"
                      "book_memorised\n"
                      "2026-12-05T19:00:00\tテスト\tクラス０\treading\t300\t10\t2\t10\t10\n"
                      "2026-12-07T19:00:00\tテスト\tクラス０\treading\t150\t2\t0\t12\t12\n"
                      "2026-12-07T19:10:00\tテスト\tクラス０\twriting\t90\t5\t1\t5\t5\n");
        history.close();
        window = openWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(!view()); // made only when asked for

        QTest::keyClick(window.get(), Qt::Key_F6);
        QVERIFY(view() && view()->isVisible());
        QVERIFY(view()->isWindow());
        QCOMPARE(values("chtClassMemory"), (QList<double>{12, 0}));
        QCOMPARE(values("chtMemoryTotal"), (QList<double>{10, 12}));
        const QList<double> minutes = values("chtStudyTime");
        QCOMPARE(minutes.size(), 30);
        QCOMPARE(minutes[27], 5.0);
        QCOMPARE(minutes.last(), 2.5);
        // The ☆ words with no answer logged are due today; nothing answered, no retention yet.
        QCOMPARE(values("chtDueForecast").value(0), 12.0);
        QCOMPARE(values("chtRetention").size(), 0);
        // The numbers as text, for screen readers.
        const QAbstractItemModel* table =
            testsupport::namedChild<QTableView>(view(), u"tblClassMemory"_s)->model();
        QCOMPARE(table->index(0, 0).data().toString(), u"クラス０"_s);
        QCOMPARE(table->index(0, 1).data().toString(), u"12語"_s);
        QVERIFY(testsupport::namedChild<QWidget>(view(), u"chtStudyTime"_s)
                    ->accessibleDescription()
                    .endsWith(u"2026/12/07 3分"_s));

        testsupport::namedChild<QRadioButton>(window.get(), u"optMode(1)"_s)->click();
        QCOMPARE(values("chtClassMemory"), (QList<double>{5, 0}));
        QCOMPARE(values("chtMemoryTotal"), (QList<double>{5}));
        QCOMPARE(values("chtDueForecast").value(0), 5.0);

        // A drill ends while the view is open: one more point.
        testsupport::namedChild<QPushButton>(window.get(), u"cmdStart"_s)->click();
        clock.now += 60;
        testsupport::namedChild<QPushButton>(window.get(), u"cmdEnd"_s)->click();
        QCOMPARE(values("chtMemoryTotal"), (QList<double>{5, 0}));

        // The shown chart saved as PNG.
        dialogs.queueDialogPath(dir->filePath(u"chart"_s));
        testsupport::namedChild<QPushButton>(view(), u"cmdSaveChart"_s)->click();
        QCOMPARE(QImage(dir->filePath(u"chart.png"_s)).isNull(), false);

        // A reset book is loaded afresh, and the view shows it.
        dialogs.queueAnswer(QMessageBox::Yes);
        testsupport::namedChild<QAction>(window.get(), u"mnuFileInitialize"_s)->trigger();
        QCOMPARE(values("chtClassMemory"), (QList<double>{0, 0}));

        // Like the other views, it cannot be opened during a drill.
        view()->close();
        testsupport::namedChild<QPushButton>(window.get(), u"cmdStart"_s)->click();
        QTest::keyClick(window.get(), Qt::Key_F6);
        QVERIFY(!view()->isVisible());
    }

    // The view is made anew once per change of the history or the book, however often
    // and however it is asked for: F6 again, a tab, the same mode.
    void redrawnOncePerChange() {
        testsupport::writeBook(bookPath(), 2);
        window = openWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTest::keyClick(window.get(), Qt::Key_F6);
        auto* table = testsupport::namedChild<QTableView>(view(), u"tblMemoryTotal"_s);
        QSignalSpy resets(table->model(), &QAbstractItemModel::modelReset);

        testsupport::namedChild<QTabWidget>(view(), u"tabProgress"_s)->setCurrentIndex(1);
        QTest::keyClick(window.get(), Qt::Key_F6);
        QTest::keyClick(window.get(), Qt::Key_F6);
        testsupport::namedChild<QRadioButton>(window.get(), u"optMode(0)"_s)->click();
        QCOMPARE(resets.size(), 0);

        testsupport::namedChild<QPushButton>(window.get(), u"cmdStart"_s)->click();
        clock.now += 60;
        testsupport::namedChild<QPushButton>(window.get(), u"cmdEnd"_s)->click();
        QCOMPARE(resets.size(), 1);
        QCOMPARE(table->model()->rowCount(), 1);
        QTest::keyClick(window.get(), Qt::Key_F6);
        QCOMPARE(resets.size(), 1);

        testsupport::namedChild<QRadioButton>(window.get(), u"optMode(1)"_s)->click();
        QCOMPARE(resets.size(), 2);
    }
};

QTEST_MAIN(TestProgressView)
#include "tst_progress_view.moc"
