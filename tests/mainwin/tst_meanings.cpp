// Meanings proposed from the dictionaries where the learner meets them: a word list opened
// without some of its meanings, the word editor's Japanese field and a search the book
// has no word for.
#include "dictionary/meaning_proposer.h"
#include "editor/word_editor.h"
#include "mainwin/main_window.h"
#include "session/list_meanings.h"
#include "test_book.h"
#include "test_doubles.h"
#include "window_rig.h"

#include <QAction>
#include <QCompleter>
#include <QLineEdit>
#include <QProcess>
#include <QStringEncoder>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A small EDICT: what the tests' dictionary knows.
session::MeaningSource::Loader testDictionary() {
    return [] {
        QStringEncoder euc("EUC-JP");
        const QByteArray edict = euc.encode(u"犬 [いぬ] /(n) dog/(P)/\n"
                                            "猟犬 [りょうけん] /(n) hound/dog/\n"
                                            "猫 [ねこ] /(n) cat/(P)/\n"
                                            "歩く [あるく] /(v5k) to walk/(P)/\n"_s);
        return std::make_unique<dictionary::MeaningProposer>(QByteArray(), QByteArray(), edict);
    };
}

// No dictionary installed.
session::MeaningSource::Loader noDictionary() {
    return [] {
        return std::make_unique<dictionary::MeaningProposer>(QByteArray(), QByteArray(),
                                                             QByteArray());
    };
}

} // namespace

class TestMeanings : public QObject, private testsupport::WindowRig {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> elsewhere;

    QString writeList(const QString& name, const QString& text) {
        const QString path = elsewhere->filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(text.toUtf8());
        return path;
    }
    void openList(mainwin::MainWindow& window, const QString& path) {
        dialogs.queueAnswer(QMessageBox::Yes);
        dialogs.queueDialogPath(path);
        testsupport::namedChild<QAction>(&window, u"mnuFileOpen"_s)->trigger();
    }
    // The first words of the loaded book as "english japanese".
    QStringList firstWords(int count) const {
        QStringList words;
        for (int r = 2; r < 2 + count; ++r) {
            const book::WordRecord word = testsupport::readRecord(bookPath(), r).trimmed();
            words << word.english + u' ' + word.japanese;
        }
        return words;
    }

private Q_SLOTS:
    void init() {
        initRig();
        elsewhere = std::make_unique<QTemporaryDir>();
        testsupport::writeBook(bookPath(), 2);
        dictionaries = testDictionary();
    }

    // A list of English words alone opens with the installed dictionaries' proposals,
    // accepted as offered, as the very book velbook create --meanings makes of it.
    void englishAloneAsVelbookMakesIt() {
        dictionaries = {};
        if (!dictionary::MeaningProposer().hasDictionaries())
            QSKIP("neither dict-freedict-eng-jpn nor edict is installed");
        const QStringList words = {
            u"apple"_s,    u"book"_s,     u"water"_s,  u"school"_s,  u"river"_s,   u"mountain"_s,
            u"city"_s,     u"village"_s,  u"bridge"_s, u"garden"_s,  u"kitchen"_s, u"window"_s,
            u"door"_s,     u"chair"_s,    u"table"_s,  u"bed"_s,     u"pillow"_s,  u"blanket"_s,
            u"cup"_s,      u"plate"_s,    u"spoon"_s,  u"fork"_s,    u"knife"_s,   u"bottle"_s,
            u"glass"_s,    u"bread"_s,    u"butter"_s, u"cheese"_s,  u"egg"_s,     u"milk"_s,
            u"rice"_s,     u"meat"_s,     u"fish"_s,   u"chicken"_s, u"salad"_s,   u"soup"_s,
            u"sugar"_s,    u"salt"_s,     u"pepper"_s, u"tea"_s,     u"coffee"_s,  u"juice"_s,
            u"teacher"_s,  u"elephant"_s, u"houses"_s, u"walked"_s,  u"happy"_s,   u"run"_s,
            u"computer"_s, u"tomato"_s};
        const QString list = writeList(u"words.txt"_s, words.join(u'\n') + u'\n');
        auto window = openWindow();
        dialogs.takeShownMessages();
        openList(*window, list);

        QCOMPARE(dialogs.offeredChoiceRows.size(), 50);
        const QString made = elsewhere->filePath(u"velbook.vel"_s);
        QProcess velbook;
        velbook.start(QStringLiteral(VELBOOK_EXECUTABLE),
                      {u"create"_s, list, made, u"--meanings"_s});
        QVERIFY(velbook.waitForFinished(60000) && velbook.exitCode() == 0);
        QCOMPARE(testsupport::fileBytes(bookPath()), testsupport::fileBytes(made));
    }

    // The confirmation of proposed meanings: what it offers, what the learner's choice
    // writes, and that nothing is written before Yes or without dictionaries.
    void listWithProposals_data() {
        QTest::addColumn<QString>("firstRows"); // the list goes on with rows "wN,意味N"
        QTest::addColumn<bool>("dictionaries");
        QTest::addColumn<QStringList>("answers"); // each a '|'-joined column; "No" declines
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<int>("faults");          // boxes telling why the choice was refused
        QTest::addColumn<QStringList>("written"); // the first words of the book; empty: none

        const QStringList dogOffered{u"1 dog 犬 [犬|いぬ|猟犬|りょうけん]"_s};
        QTest::newRow("accepted as offered")
            << u"dog,\ncat,ねこ\n"_s << true << QStringList{} << dogOffered << 0
            << QStringList{u"dog 犬"_s, u"cat ねこ"_s};
        QTest::newRow("another proposal chosen")
            << u"dog,\ncat,ねこ\n"_s << true << QStringList{u"猟犬"_s} << dogOffered << 0
            << QStringList{u"dog 猟犬"_s, u"cat ねこ"_s};
        QTest::newRow("declined: nothing written")
            << u"dog,\ncat,ねこ\n"_s << true << QStringList{u"No"_s} << dogOffered << 0
            << QStringList{};
        QTest::newRow("no proposal: left empty, refused, then typed")
            << u"xyzzy,\ncat,\n"_s << true << QStringList{u"|猫"_s, u"謎|猫"_s}
            << QStringList{u"1 xyzzy  []"_s, u"2 cat 猫 [猫|ねこ]"_s} << 1
            << QStringList{u"xyzzy 謎"_s, u"cat 猫"_s};
        QTest::newRow("a meaning the class has: refused, then another")
            << u"dog,\nhound,\n"_s << true << QStringList{u"犬|犬"_s, u"犬|猟犬"_s}
            << QStringList{u"1 dog 犬 [犬|いぬ|猟犬|りょうけん]"_s,
                           u"2 hound 猟犬 [猟犬|りょうけん]"_s}
            << 1 << QStringList{u"dog 犬"_s, u"hound 猟犬"_s};
        QTest::newRow("no dictionary: refused as before, the packages named")
            << u"dog,\ncat,ねこ\n"_s << false << QStringList{} << QStringList{} << 0
            << QStringList{};
    }

    void listWithProposals() {
        QFETCH(QString, firstRows);
        QFETCH(bool, dictionaries);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, offered);
        QFETCH(int, faults);
        QFETCH(QStringList, written);
        if (!dictionaries)
            this->dictionaries = noDictionary();
        QString text = firstRows;
        for (int n = int(firstRows.count(u'\n')) + 1; n <= 50; ++n)
            text += u"w%1,意味%1\n"_s.arg(n);
        const QString list = writeList(u"list.csv"_s, text);
        const QByteArray before = testsupport::fileBytes(bookPath());
        auto window = openWindow();
        dialogs.takeShownMessages();
        for (const QString& answer : answers)
            dialogs.queueChoices(answer == u"No" ? std::nullopt
                                                 : std::optional(answer.split(u'|')));
        openList(*window, list);

        QStringList shownRows;
        for (const platform::Dialogs::ChoiceRow& row : dialogs.offeredChoiceRows)
            shownRows << u"%1 [%2]"_s.arg(row.cells.mid(0, 2).join(u' ') + u' ' + row.chosen,
                                          row.choices.join(u'|'));
        QCOMPARE(shownRows, offered);
        const auto shown = dialogs.takeShownMessages();
        QCOMPARE(std::count_if(shown.begin(), shown.end(),
                               [](const testsupport::ShownMessage& message) {
                                   return message.icon == QMessageBox::Critical;
                               }),
                 qsizetype(faults + (dictionaries ? 0 : 1)));
        if (!dictionaries)
            QVERIFY(shown.constLast().text.contains(
                dictionary::MeaningProposer::missingText().japanese));
        else
            QVERIFY(shown.value(1).text.contains(u"EDICT"_s)); // where the proposals came from
        if (written.isEmpty()) {
            QCOMPARE(testsupport::fileBytes(bookPath()), before);
            return;
        }
        QCOMPARE(firstWords(2), written);
    }

    // The editor's Japanese field offers the dictionary's meanings of the English typed.
    void editorOffersMeanings_data() {
        QTest::addColumn<QString>("english");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("a word") << u"dog"_s
                                << QStringList{u"犬"_s, u"いぬ"_s, u"猟犬"_s, u"りょうけん"_s};
        QTest::newRow("an inflected form") << u"walked"_s << QStringList{u"歩く"_s, u"あるく"_s};
        QTest::newRow("unknown") << u"xyzzy"_s << QStringList{};
    }

    void editorOffersMeanings() {
        QFETCH(QString, english);
        QFETCH(QStringList, offered);
        auto session = openSession();
        editor::WordEditor editor(*session, dialogs);
        auto* englishField = testsupport::namedChild<QLineEdit>(&editor, u"txtEnglishEdit"_s);
        auto* japaneseField = testsupport::namedChild<QLineEdit>(&editor, u"txtJapaneseEdit"_s);
        const QByteArray before = testsupport::fileBytes(bookPath());
        japaneseField->clear();
        englishField->setText(english);
        const auto model = [&] {
            return static_cast<QStringListModel*>(japaneseField->completer()->model())
                ->stringList();
        };
        QTRY_COMPARE(model(), offered);
        QCOMPARE(testsupport::fileBytes(bookPath()), before);
    }

    // A search the book has nothing for shows what the dictionary gives, marked as such.
    void searchFallsBackOnDictionary_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("dictionaries");
        QTest::addColumn<QStringList>("lines");
        const QStringList nothing{u"\u3000"_s, u"   検索文字列は見つかりません。"_s,
                                  u"    \u3000"_s};
        QTest::newRow("in the dictionary")
            << u"cat"_s << true << QStringList{u"\u3000"_s,          u"   単語帳にはありません。"_s,
                                               u"   （辞書より）"_s, u" ・ cat  猫"_s,
                                               u" ・ cat  ねこ"_s,   u" "_s,
                                               u"SOURCES"_s,         u"    \u3000"_s};
        QTest::newRow("an inflected form") << u"walked"_s << true
                                           << QStringList{u"\u3000"_s,
                                                          u"   単語帳にはありません。"_s,
                                                          u"   （辞書より）"_s,
                                                          u" ・ walked  歩く  （walk より）"_s,
                                                          u" ・ walked  あるく  （walk より）"_s,
                                                          u" "_s,
                                                          u"SOURCES"_s,
                                                          u"    \u3000"_s};
        QTest::newRow("in neither") << u"xyzzy"_s << true << nothing;
        QTest::newRow("no dictionary") << u"cat"_s << false << nothing;
    }

    void searchFallsBackOnDictionary() {
        QFETCH(QString, text);
        QFETCH(bool, dictionaries);
        QFETCH(QStringList, lines);
        if (!dictionaries)
            this->dictionaries = noDictionary();
        auto session = openSession();
        const views::SearchView view = session->search(text);
        lines.replaceInStrings(u"SOURCES"_s,
                               u"   "_s + session->meanings().proposer().sourcesText().japanese);
        QCOMPARE(view.lines, lines);
        QCOMPARE(view.hits, 0);
    }
};

QTEST_MAIN(TestMeanings)
#include "tst_meanings.moc"
