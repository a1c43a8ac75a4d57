#include "drill_engine.h"

namespace drill {

DrillEngine::DrillEngine(book::RecordFile& wordFile, const DrillSettings& settings, Ports ports,
                         QObject* parent)
    : QObject(parent), wordFile_(wordFile), settings_(settings), random_(ports.random),
      clock_(ports.clock), speaker_(ports.speaker) {}

DrillEngine::~DrillEngine() = default;

void DrillEngine::showWord(int index, int stockIndex) {
    const WordStockEntry& word = s_.stock[stockIndex];
    Drop& drop = s_.drops[index];
    drop.stockIndex = stockIndex;
    drop.word = word;
    drop.caption = isReading() ? word.english : isWriting() ? word.japanese : kFullWidthMark;
    drop.answer = isWriting() ? word.english : word.japanese;
    if (isListening())
        drop.speech = word.english;
    drop.pickableSince = -1;
}

void DrillEngine::giveNextWord(int index) {
    const int stockIndex = s_.stock.drawFree(random_);
    showWord(index, stockIndex);
    s_.stock[stockIndex].inUse = true;
    s_.drops[index].holdsWord = true;
}

void DrillEngine::releaseWord(int index) {
    Drop& drop = s_.drops[index];
    // A drop that missed its word has let go of it already; the entry may be another
    // drop's by now, so only the holder frees it.
    if (drop.holdsWord && drop.stockIndex >= 0)
        s_.stock[drop.stockIndex].inUse = false;
    drop.holdsWord = false;
}

bool DrillEngine::anotherDropShows(int drop) const {
    for (int other = 0; other < kDropCount; ++other) {
        if (other != drop && s_.drops[other].stockIndex >= 0 &&
            s_.drops[other].word.recordNo == s_.drops[drop].word.recordNo)
            return true;
    }
    return false;
}

bool DrillEngine::takeOutOfStock(int drop, Departure departure) {
    const int index = s_.drops[drop].stockIndex;
    // A missed word can be drawn by another drop while the missed one still shows it; if
    // that other drop answered it correctly, the word has left the drill already.
    if (index < 0)
        return false;
    // A drop reaching the bottom while another drop shows the same word (a revealed drop
    // whose word another drop has drawn since the miss, or that other drop while the
    // revealed one still falls) takes nothing out: the word stays in the stock for the
    // other drop, this fall-out does not count towards the end of the drill, and the word
    // leaves with the last drop that shows it.
    if (departure == Departure::FellOut && anotherDropShows(drop))
        return false;

    const int recordNo = s_.drops[drop].word.recordNo;
    const int movedFrom = s_.stock.removeAt(index);
    // Every drop keeps finding its own word: drops of the departed word lose it, a drop
    // of the moved entry follows it into the hole.
    for (int other = 0; other < kDropCount; ++other) {
        if (s_.drops[other].word.recordNo == recordNo)
            s_.drops[other].stockIndex = -1;
        else if (s_.drops[other].stockIndex == movedFrom)
            s_.drops[other].stockIndex = index;
    }
    return true;
}

void DrillEngine::endIfStockRunsDown() {
    if (s_.stock.count() == s_.stock.leftAtEnd() && s_.running)
        stop();
}

QStringList DrillEngine::translationList() {
    QStringList texts;
    for (const Drop& drop : s_.drops)
        texts << (isWriting() ? drop.word.english : drop.word.japanese);
    return shuffledWithUnknown(texts, random_);
}

QStringList DrillEngine::pickList() {
    if (isListening())
        return translationList();
    QStringList words;
    for (const Drop& drop : s_.drops) {
        if (drop.selectable)
            words << (isReading() ? drop.word.english : drop.word.japanese);
    }
    return words;
}

void DrillEngine::fillBox(const QStringList& entries) {
    s_.answerBox.clear();
    s_.answerBox.entries = entries;
}

void DrillEngine::tellAnswer(int drop, AnswerOutcome outcome) {
    const Drop& d = s_.drops[drop];
    const double seconds =
        d.pickableSince < 0 ? 0 : secondsBetween(d.pickableSince, clock_.secondsSinceMidnight());
    Q_EMIT answered({d.word.recordNo, d.word.english, d.word.japanese, s_.mode, outcome, seconds});
}

void DrillEngine::writeResultLine(const QString& line) {
    s_.resultLines << line;
    if (!result_ || !result_->isOpen())
        return;
    if (!result_->writeLine(line))
        reportFailure(resultPath_, QString());
}

void DrillEngine::checkWrite(book::WriteStatus status) {
    if (status != book::WriteStatus::Ok)
        reportFailure(wordFile_.path(), wordFile_.errorString());
}

void DrillEngine::reportFailure(const QString& path, const QString& systemText) {
    // One message per file and drill: the drill goes on and would repeat it at every answer.
    if (reportedFailures_.contains(path))
        return;
    reportedFailures_.insert(path);
    Q_EMIT writeFailed(path, systemText);
}

void DrillEngine::replaceDepartedWord(int drop, Departure departure) {
    if (takeOutOfStock(drop, departure))
        endIfStockRunsDown();
    giveNextWord(drop);
    s_.answerBox.requestIme(isReading() ? imeLatinIfKana(settings_.inputMode)
                                        : imeByMenu(settings_.inputMode));
    s_.drops[drop].selectable = true;
    s_.drops[drop].unspoken = true;
}

} // namespace drill
