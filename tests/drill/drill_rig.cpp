#include "drill_rig.h"

#include "test_book.h"

#include "book/book.h"
#include "book/text_file.h"

namespace drilltest {

DrillRig::DrillRig(int classCount)
    : bookPath(dir.filePath(QStringLiteral("Word.dat"))),
      resultPath(dir.filePath(QStringLiteral("result.txt"))) {
    eofRecord = testsupport::writeBook(bookPath, classCount);
    file = std::make_unique<book::RecordFile>(bookPath);
    file->open();
    engine = std::make_unique<drill::DrillEngine>(
        *file, settings, drill::DrillEngine::Ports{random, clock, speaker});
    QObject::connect(engine.get(), &drill::DrillEngine::ended, [this] { ++ends; });
    QObject::connect(engine.get(), &drill::DrillEngine::writeFailed,
                     [this](const QString& path) { failures << path; });
}

drill::StartResult DrillRig::start(book::Mode mode, const QString& className) {
    return engine->start({className, book::findClassByName(*file, eofRecord, className), mode,
                          eofRecord, resultPath});
}

void DrillRig::select(const QString& text) { engine->selectEntry(text); }

void DrillRig::isolate(int picked, double top) {
    for (int i = 0; i < drill::kDropCount; ++i)
        s().drops[i].top = i == picked ? top : -100000;
}

book::WordRecord DrillRig::wordOf(int drop) const {
    return testsupport::readRecord(bookPath, engine->state().drops[drop].word.recordNo);
}

QStringList DrillRig::resultLines() const {
    QString text = book::readCp932File(resultPath);
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}

} // namespace drilltest

namespace drilltest {

QString stockProblem(const drill::DrillState& s) {
    const drill::WordStock& stock = s.stock;
    // Live words by their place in the class, so that the check stays cheap.
    std::array<bool, drill::WordStock::kLoadedWords> live{};
    auto place = [&s](int recordNo) { return recordNo - s.classFirstRecord; };
    for (int e = 0; e < stock.count(); ++e) {
        const int at = place(stock[e].recordNo);
        if (at < 0 || at >= int(live.size()) || live[at])
            return QStringLiteral("record %1 is foreign or live twice").arg(stock[e].recordNo);
        live[at] = true;

        int holders = 0;
        for (int i = 0; i < drill::kDropCount; ++i)
            holders += s.drops[i].holdsWord && s.drops[i].stockIndex == e;
        if (holders > 1 || stock[e].inUse != (holders == 1))
            return QStringLiteral("entry %1 in use %2 with %3 holders")
                .arg(e)
                .arg(stock[e].inUse)
                .arg(holders);
    }
    for (int i = 0; i < drill::kDropCount; ++i) {
        const int index = s.drops[i].stockIndex;
        const int recordNo = s.drops[i].word.recordNo;
        if (s.drops[i].word.recordNo != recordNo)
            return QStringLiteral("drop %1 record text differs").arg(i);
        if (index == -1) {
            if (live[place(recordNo)] || s.drops[i].holdsWord)
                return QStringLiteral("drop %1 lost its live word %2").arg(i).arg(recordNo);
        } else if (index < 0 || index >= stock.count() || stock[index].recordNo != recordNo) {
            return QStringLiteral("drop %1 points at %2, not at its word %3")
                .arg(i)
                .arg(index)
                .arg(recordNo);
        }
    }
    return {};
}

} // namespace drilltest
