// The dictionary readers on small files made here (whole and damaged), and the ranking of
// the meanings proposed from them.
#include "book/word_list.h"
#include "dictionary/dictd_dictionary.h"
#include "dictionary/edict_dictionary.h"
#include "dictionary/freedict_article.h"
#include "dictionary/meaning_proposer.h"

#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <zlib.h>

using namespace dictionary;

namespace {

QByteArray le16(int value) {
    QByteArray bytes(2, '\0');
    qToLittleEndian<quint16>(quint16(value), bytes.data());
    return bytes;
}

// Raw deflate data of each piece, each ending on a full flush so that it inflates alone.
QList<QByteArray> deflatePieces(const QList<QByteArray>& pieces) {
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QList<QByteArray> out;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        QByteArray piece = pieces[i];
        QByteArray deflated(int(deflateBound(&stream, uLong(piece.size()))) + 64, '\0');
        stream.next_in = reinterpret_cast<Bytef*>(piece.data());
        stream.avail_in = uInt(piece.size());
        stream.next_out = reinterpret_cast<Bytef*>(deflated.data());
        stream.avail_out = uInt(deflated.size());
        deflate(&stream, i + 1 == pieces.size() ? Z_FINISH : Z_FULL_FLUSH);
        deflated.resize(deflated.size() - qsizetype(stream.avail_out));
        out.append(deflated);
    }
    deflateEnd(&stream);
    return out;
}

QByteArray gzipTrailer(const QByteArray& text) {
    QByteArray trailer(8, '\0');
    qToLittleEndian<quint32>(
        quint32(crc32(0, reinterpret_cast<const Bytef*>(text.constData()), uInt(text.size()))),
        trailer.data());
    qToLittleEndian<quint32>(quint32(text.size()), trailer.data() + 4);
    return trailer;
}

// The text as dictzip writes it: chunks of chunkLength bytes, their compressed sizes in
// the header's "RA" field.
QByteArray dictzip(const QByteArray& text, int chunkLength) {
    QList<QByteArray> pieces;
    for (qsizetype at = 0; at < text.size(); at += chunkLength)
        pieces.append(text.mid(at, chunkLength));
    const QList<QByteArray> chunks = deflatePieces(pieces);
    QByteArray field = "RA" + le16(6 + 2 * int(chunks.size())) + le16(1) + le16(chunkLength) +
                       le16(int(chunks.size()));
    for (const QByteArray& chunk : chunks)
        field += le16(int(chunk.size()));
    QByteArray file =
        QByteArray("\x1f\x8b\x08\x04\0\0\0\0\x02\x03", 10) + le16(int(field.size())) + field;
    for (const QByteArray& chunk : chunks)
        file += chunk;
    return file + gzipTrailer(text);
}

QByteArray plainGzip(const QByteArray& text) {
    return QByteArray("\x1f\x8b\x08\0\0\0\0\0\0\x03", 10) + deflatePieces({text}).constFirst() +
           gzipTrailer(text);
}

QByteArray base64Number(qint64 value) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    QByteArray out;
    do {
        out.prepend(digits[value % 64]);
        value /= 64;
    } while (value > 0);
    return out;
}

// FreeDict's articles as a dictd index and text.
struct DictdFiles {
    QByteArray index;
    QByteArray text;
};

DictdFiles dictdFiles(const QList<std::pair<QByteArray, QString>>& articles) {
    DictdFiles files;
    for (const auto& [headword, article] : articles) {
        const QByteArray bytes = article.toUtf8();
        files.index += headword + '\t' + base64Number(files.text.size()) + '\t' +
                       base64Number(bytes.size()) + '\n';
        files.text += bytes;
    }
    return files;
}

const QList<std::pair<QByteArray, QString>> kArticles = {
    {"apple", u"apple //ˈæp.əl// <n>\n1. 林檎, りんご\nfruit\n2. 林檎\nwood\n"_qs},
    {"apple", u"Apple //ˈæ.pəl// <pn>\nアップル\nApple Inc.\n"_qs},
    // A stray sense number after the translations, as in the real data.
    {"book", u"book //bʊk// <n>\n本, 書籍 2.\ncollection of sheets\n 3.\nsomething else\n"_qs},
    {"run", u"run //ɹʌn// <v>\n1. 走る\nto move quickly\n2. 経営する, 運営する\nto manage\n"_qs},
};

// An article as "headword <pos>: translations of each sense", senses split by '/'.
QString described(const QByteArray& text) {
    const FreedictArticle article = parseFreedictArticle(text);
    QStringList senses;
    for (const QStringList& sense : article.senses)
        senses.append(sense.join(u','));
    return QStringLiteral("%1 <%2>: %3")
        .arg(article.headword, article.partOfSpeech, senses.join(u'/'));
}

QByteArray eucJp(const QString& text) {
    QStringEncoder encoder("EUC-JP");
    return encoder.encode(text);
}

QString proposalsText(const QList<Proposal>& proposals) {
    QStringList meanings;
    for (const Proposal& proposal : proposals)
        meanings.append(proposal.meaning);
    return meanings.join(u'|');
}

} // namespace

class TestDictionary : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dictdArticles_data();
    void dictdArticles();
    void edictLookup_data();
    void edictLookup();
    void proposals_data();
    void proposals();
    void missingDictionaries();
    void listMeanings_data();
    void listMeanings();
    void velbookFillsMeanings();
};

enum class Container { Dictzip, Gzip, Plain };
enum class Damage {
    None,
    DataCutInHalf,
    ChunkGarbled,
    IndexOutside,
    IndexHugeLine,
    IndexBadDigits
};

void TestDictionary::dictdArticles_data() {
    QTest::addColumn<Container>("container");
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("expected");

    const QStringList apple = {u"apple <n>: 林檎,りんご/林檎"_qs, u"Apple <pn>: アップル"_qs};
    const QStringList run = {u"run <v>: 走る/経営する,運営する"_qs};
    QTest::newRow("dictzip") << Container::Dictzip << Damage::None << u"apple"_qs << apple;
    QTest::newRow("dictzip, case ignored, article across chunks")
        << Container::Dictzip << Damage::None << u"RUN"_qs << run;
    QTest::newRow("stray sense number")
        << Container::Dictzip << Damage::None << u"book"_qs << QStringList{u"book <n>: 本,書籍"_qs};
    QTest::newRow("gzip without chunk list") << Container::Gzip << Damage::None << u"run"_qs << run;
    QTest::newRow("plain text") << Container::Plain << Damage::None << u"apple"_qs << apple;
    QTest::newRow("unknown word") << Container::Dictzip << Damage::None << u"pear"_qs
                                  << QStringList{};
    QTest::newRow("data cut in half: first article still read")
        << Container::Dictzip << Damage::DataCutInHalf << u"apple"_qs << apple;
    QTest::newRow("data cut in half: last article lost")
        << Container::Dictzip << Damage::DataCutInHalf << u"run"_qs << QStringList{};
    QTest::newRow("gzip cut in half: last article lost")
        << Container::Gzip << Damage::DataCutInHalf << u"run"_qs << QStringList{};
    QTest::newRow("garbled chunk: the others still read")
        << Container::Dictzip << Damage::ChunkGarbled << u"run"_qs << run;
    QTest::newRow("index pointing outside the data")
        << Container::Dictzip << Damage::IndexOutside << u"ghost"_qs << QStringList{};
    QTest::newRow("huge index line before the rest")
        << Container::Dictzip << Damage::IndexHugeLine << u"run"_qs << run;
    QTest::newRow("index digits that are none")
        << Container::Dictzip << Damage::IndexBadDigits << u"book"_qs << QStringList{};
}

void TestDictionary::dictdArticles() {
    QFETCH(Container, container);
    QFETCH(Damage, damage);
    QFETCH(QString, word);
    QFETCH(QStringList, expected);

    DictdFiles files = dictdFiles(kArticles);
    // Chunks of 64 bytes: each article spans chunks, and the first lies in the first two.
    QByteArray data = container == Container::Dictzip ? dictzip(files.text, 64)
                      : container == Container::Gzip  ? plainGzip(files.text)
                                                      : files.text;
    switch (damage) {
    case Damage::None:
        break;
    case Damage::DataCutInHalf:
        data.truncate(data.size() / 2);
        break;
    case Damage::ChunkGarbled: {
        // Inside the first chunk: the first article is garbled, the later chunks are not.
        const qsizetype garbled = 10 + 2 + 10 + 2 * (files.text.size() / 64 + 1) + 40;
        for (qsizetype i = garbled; i < garbled + 8; ++i)
            data[i] = char(0xff);
        break;
    }
    case Damage::IndexOutside:
        files.index += "ghost\t" + base64Number(files.text.size() + 10) + "\tBA\nghost\t" +
                       base64Number(qint64(1) << 59) + "\t////////\n";
        break;
    case Damage::IndexHugeLine:
        files.index.prepend(QByteArray(4 << 20, 'x') + "\tA\tB\n");
        break;
    case Damage::IndexBadDigits:
        files.index.replace("book\tB", "book\t!");
        break;
    }

    const DictdDictionary dictionary(files.index, data);
    QStringList articles;
    for (const QByteArray& article : dictionary.articles(word))
        articles.append(described(article));
    QCOMPARE(articles, expected);
}

void TestDictionary::edictLookup_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QStringList>("expected");

    const QByteArray entries = eucJp(
        u"　？？？ /EDICT, EDICT_SUB(P), EDICT2 Japanese-English Electronic Dictionary Files/\n"
        "林檎 [りんご] /(n) (1) (uk) apple (fruit)/(n) (2) (uk) apple tree/(P)/\n"
        "アップル /(n) (1) apple/(n) (2) (comp) Apple (computer company)/\n"
        "持つ [もつ] /(v5t) (1) to hold (in one's hand)/to take/(v5t) (2) to possess/to have/(P)/\n"
        "古持 [こじ] /(arch) (v5t) to have/\n"
        "速い [はやい] /(adj-i) (1) fast/quick/(P)/\n"
        "囲碁 [いご] /(n) go (board game)/(P)/\n"
        "行く [いく] /(v5k-s,vi) (1) to go/to move/(P)/\n"_qs);
    // Each as "meaning written/reading common sense.gloss kind-flags".
    QTest::newRow("kana of a (uk) sense, and a later sense")
        << entries << u"Apple"_qs
        << QStringList{u"りんご 林檎/りんご P 0.0 uk"_qs, u"アップル /アップル - 0.0"_qs};
    QTest::newRow("verb gloss without its \"to\" and aside")
        << entries << u"hold"_qs << QStringList{u"持つ 持つ/もつ P 0.0"_qs};
    QTest::newRow("later sense and gloss; archaic marked")
        << entries << u"to have"_qs
        << QStringList{u"持つ 持つ/もつ P 1.1"_qs, u"古持 古持/こじ - 0.0 unusual"_qs};
    QTest::newRow("gloss with an aside")
        << entries << u"go"_qs
        << QStringList{u"囲碁 囲碁/いご P 0.0"_qs, u"行く 行く/いく P 0.0"_qs};
    QTest::newRow("unknown") << entries << u"pear"_qs << QStringList{};
    QTest::newRow("empty query") << entries << u"(to)"_qs << QStringList{};

    QByteArray badBytes = entries;
    badBytes.replace(eucJp(u"速い"_qs), QByteArray("\x8e\xff\xa4", 3));
    QTest::newRow("bytes that are no EUC-JP stand out as U+FFFD")
        << badBytes << u"fast"_qs << QStringList{u"\uFFFD\uFFFD \uFFFD\uFFFD/はやい P 0.0"_qs};
    QTest::newRow("last line cut off")
        << entries.chopped(9) << u"go"_qs
        << QStringList{u"囲碁 囲碁/いご P 0.0"_qs, u"行く 行く/いく - 0.0"_qs};
    QTest::newRow("huge line and lines without glosses around the rest")
        << QByteArray(8 << 20, 'a') + "\nno glosses here\n/(n) apple/\n" + QByteArray("x /") +
               QByteArray(2 << 20, '(') + "\n" + entries + QByteArray(1 << 20, '/')
        << u"go"_qs << QStringList{u"囲碁 囲碁/いご P 0.0"_qs, u"行く 行く/いく P 0.0"_qs};
}

void TestDictionary::edictLookup() {
    QFETCH(QByteArray, file);
    QFETCH(QString, english);
    QFETCH(QStringList, expected);

    const EdictDictionary dictionary(file);
    QStringList found;
    for (const EdictMatch& match : dictionary.lookup(english)) {
        QString text = QStringLiteral("%1 %2/%3 %4 %5.%6")
                           .arg(match.meaning(), match.written, match.reading)
                           .arg(match.common ? u"P" : u"-")
                           .arg(match.sense)
                           .arg(match.gloss);
        if (match.usuallyKana)
            text += u" uk"_qs;
        if (match.unusual)
            text += u" unusual"_qs;
        found.append(text);
    }
    QCOMPARE(found, expected);
}

void TestDictionary::proposals_data() {
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("expected");

    QTest::newRow("both sources ahead of one") << u"house"_qs << u"家|家屋|ハウス"_qs;
    QTest::newRow("common ahead of uncommon") << u"quiet"_qs << u"静か|しずか|閑静"_qs;
    QTest::newRow("plural") << u"houses"_qs << u"家|家屋|ハウス"_qs;
    QTest::newRow("-ed, doubled consonant") << u"stopped"_qs << u"止める|やめる"_qs;
    QTest::newRow("-ed: from verbs alone") << u"walked"_qs << u"歩く"_qs;
    QTest::newRow("-ing, e dropped") << u"making"_qs << u"作る|つくる"_qs;
    QTest::newRow("-ly: the adverb of the adjective") << u"quietly"_qs << u"静かに|閑静に"_qs;
    QTest::newRow("-ly of an adjective in -い") << u"quickly"_qs << u"速く"_qs;
    QTest::newRow("a form of its own is not reduced") << u"sings"_qs << u"歌い手|うたいて"_qs;
    QTest::newRow("proper noun only for a capital") << u"apple"_qs << u"りんご"_qs;
    QTest::newRow("what does not fit the slot or CP932 is left out")
        << u"long"_qs << u"長い|ながい"_qs;
    QTest::newRow("bytes that are no EUC-JP are left out") << u"rapid"_qs << u"はやい"_qs;
    QTest::newRow("blanks around the word") << u" house "_qs << u"家|家屋|ハウス"_qs;
    QTest::newRow("unknown") << u"xyzzy"_qs << QString();
}

void TestDictionary::proposals() {
    QFETCH(QString, english);
    QFETCH(QString, expected);

    const DictdFiles freedict = dictdFiles({
        {"house", u"house /haʊs/ <n>\n1. 家, ハウス\nbuilding\n2. 家屋\nfamily\n"_qs},
        {"apple", u"Apple /æpl/ <pn>\nアップル\ncompany\n"_qs},
        {"walk", u"walk /wɔːk/ <n>\n散歩\nact of walking\n"_qs},
        {"walk", u"walk /wɔːk/ <v>\n歩く\nto move on foot\n"_qs},
        {"long", u"long /lɒŋ/ <adj>\n𠮷長, 長い\nextended\n"_qs},
    });
    const QByteArray edict = eucJp(u"家 [いえ] /(n) house/(P)/\n"
                                   "住宅 [じゅうたく] /(n) house/residence/(P)/\n"
                                   "静か [しずか] /(adj-na) quiet/silent/(P)/\n"
                                   "閑静 [かんせい] /(adj-na) quiet/\n"
                                   "速い [はやい] /(adj-i) quick/fast/(P)/\n"
                                   "止める [やめる] /(v1) to stop/(P)/\n"
                                   "作る [つくる] /(v5r) to make/(P)/\n"
                                   "林檎 [りんご] /(n) (uk) apple/(P)/\n"
                                   "歌い手 [うたいて] /(n) sings/\n"
                                   "歌う [うたう] /(v5u) to sing/(P)/\n"_qs +
                                   QString(60, u'長') + u" [ながい] /(adj-i) long/\n"_qs) +
                             QByteArray("\x8e\xff\xa4 [") +
                             eucJp(u"はやい] /(adj-i) rapid/(P)/\n"_qs);
    const MeaningProposer proposer(freedict.index, dictzip(freedict.text, 64), edict);
    QCOMPARE(proposalsText(proposer.proposalsFor(english, 3)), expected);
}

void TestDictionary::missingDictionaries() {
    const QString nowhere = QDir::tempPath() + u"/no such folder/x"_qs;
    const MeaningProposer proposer(DictionaryPaths{nowhere, nowhere, nowhere});
    QVERIFY(!proposer.hasDictionaries());
    QVERIFY(proposer.proposalsFor(u"house"_qs, 3).isEmpty());
    QCOMPARE(proposer.sourcesText().english, MeaningProposer::missingText().english);
    for (const QString& text :
         {MeaningProposer::missingText().english, MeaningProposer::missingText().japanese}) {
        QVERIFY(text.contains(u"dict-freedict-eng-jpn"_qs));
        QVERIFY(text.contains(u"edict"_qs));
    }
}

void TestDictionary::listMeanings_data() {
    QTest::addColumn<QString>("firstRows");
    QTest::addColumn<QStringList>("filled");
    QTest::addColumn<QStringList>("problems");

    // Each list goes on with rows "wN,意味N" up to 50 rows.
    QTest::newRow("English alone")
        << u"cat\ndog\n"_qs << QStringList{u"1 cat 猫"_qs, u"2 dog 犬"_qs} << QStringList{};
    QTest::newRow("a meaning given is kept; an empty one filled")
        << u"cat,ねこ\ndog,\n"_qs << QStringList{u"2 dog 犬"_qs} << QStringList{};
    QTest::newRow("a proposal the class has already is passed over")
        << u"hound,\ndog,\n"_qs << QStringList{u"1 hound 犬"_qs, u"2 dog いぬ"_qs} << QStringList{};
    QTest::newRow("a meaning a later row gives is passed over")
        << u"dog,\nhound,犬\n"_qs << QStringList{u"1 dog いぬ"_qs} << QStringList{};
    QTest::newRow("no proposal: refused")
        << u"cat\nxyzzy\n"_qs << QStringList{u"1 cat 猫"_qs}
        << QStringList{u"2: no meaning for \"xyzzy\" was found in the dictionaries"_qs};
}

void TestDictionary::listMeanings() {
    QFETCH(QString, firstRows);
    QFETCH(QStringList, filled);
    QFETCH(QStringList, problems);

    const QHash<QString, QStringList> dictionary = {
        {u"cat"_qs, {u"猫"_qs}}, {u"dog"_qs, {u"犬"_qs, u"いぬ"_qs}}, {u"hound"_qs, {u"犬"_qs}}};
    book::ListMeanings meanings;
    meanings.proposals = [&](const QString& english) {
        return english.startsWith(u'w') ? QStringList{u"意味"_qs + english.mid(1)}
                                        : dictionary.value(english);
    };
    const bool oneColumn = !firstRows.contains(u',');
    QString list = firstRows;
    for (int n = int(firstRows.count(u'\n')) + 1; n <= 50; ++n)
        list += oneColumn ? u"w%1\n"_qs.arg(n) : u"w%1,意味%1\n"_qs.arg(n);

    const book::ParsedList parsed = book::parseWordList(list.toUtf8(), &meanings);
    QStringList found;
    for (const book::ListMeanings::Row& row : std::as_const(meanings.filled)) {
        if (!row.english.startsWith(u'w'))
            found.append(u"%1 %2 %3"_qs.arg(row.line).arg(row.english, row.japanese));
    }
    QCOMPARE(found, filled);
    QStringList reasons;
    for (const book::ListProblem& problem : parsed.problems)
        reasons.append(u"%1: %2"_qs.arg(problem.line).arg(problem.reason.english));
    QCOMPARE(reasons, problems);
    QCOMPARE(meanings.unfilled.size(), problems.size());
    if (problems.isEmpty())
        QCOMPARE(parsed.content.classes.value(0).words.size(), 50);
}

// A list of English words alone made into a book by velbook with the installed
// dictionaries.
void TestDictionary::velbookFillsMeanings() {
    if (!MeaningProposer().hasDictionaries())
        QSKIP("neither dict-freedict-eng-jpn nor edict is installed");
    const QStringList words = {
        u"apple"_qs,    u"book"_qs,     u"water"_qs,  u"school"_qs,  u"river"_qs,   u"mountain"_qs,
        u"city"_qs,     u"village"_qs,  u"bridge"_qs, u"garden"_qs,  u"kitchen"_qs, u"window"_qs,
        u"door"_qs,     u"chair"_qs,    u"table"_qs,  u"bed"_qs,     u"pillow"_qs,  u"blanket"_qs,
        u"cup"_qs,      u"plate"_qs,    u"spoon"_qs,  u"fork"_qs,    u"knife"_qs,   u"bottle"_qs,
        u"glass"_qs,    u"bread"_qs,    u"butter"_qs, u"cheese"_qs,  u"egg"_qs,     u"milk"_qs,
        u"rice"_qs,     u"meat"_qs,     u"fish"_qs,   u"chicken"_qs, u"salad"_qs,   u"soup"_qs,
        u"sugar"_qs,    u"salt"_qs,     u"pepper"_qs, u"tea"_qs,     u"coffee"_qs,  u"juice"_qs,
        u"teacher"_qs,  u"elephant"_qs, u"houses"_qs, u"walked"_qs,  u"happy"_qs,   u"run"_qs,
        u"computer"_qs, u"xyzzyq"_qs};
    QTemporaryDir dir;
    const QString list = dir.filePath(u"words.txt"_qs);
    const QString bookPath = dir.filePath(u"words.vel"_qs);
    const auto velbook = [](const QStringList& arguments) {
        QProcess process;
        process.start(QStringLiteral(VELBOOK_EXECUTABLE), arguments);
        process.waitForFinished(60000);
        return std::pair{process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
    };
    QFile file(list);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(words.join(u'\n').toUtf8() + '\n');
    file.close();

    auto [exit, err] = velbook({u"create"_qs, list, bookPath, u"--meanings"_qs});
    QCOMPARE(exit, 1);
    QVERIFY2(
        err.contains(u"49 meanings filled from the dictionaries; none found for 1 word: xyzzyq"_qs),
        qPrintable(err));
    QVERIFY(!QFile::exists(bookPath));

    QByteArray bytes = words.join(u'\n').toUtf8();
    bytes.replace("xyzzyq", "tomato");
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    std::tie(exit, err) = velbook({u"create"_qs, list, bookPath, u"--meanings"_qs});
    QCOMPARE(exit, 0);
    QVERIFY2(err.startsWith(u"velbook: 50 meanings filled from the dictionaries\n"_qs),
             qPrintable(err));
    QVERIFY(err.contains(u"EDICT"_qs) || err.contains(u"FreeDict"_qs));

    QProcess exporter;
    exporter.start(QStringLiteral(VELBOOK_EXECUTABLE), {u"export"_qs, bookPath});
    QVERIFY(exporter.waitForFinished(60000));
    const QStringList rows =
        QString::fromUtf8(exporter.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), 51); // the title line and 50 words
    QCOMPARE(rows[0], u"# title: words"_qs);
    for (qsizetype i = 1; i < rows.size(); ++i)
        QVERIFY2(!rows[i].section(u'\t', 2).isEmpty(), qPrintable(rows[i]));
}

QTEST_GUILESS_MAIN(TestDictionary)
#include "tst_dictionary.moc"
