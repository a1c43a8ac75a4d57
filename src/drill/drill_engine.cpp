#include "drill_engine.h"

namespace drill {

DrillEngine::DrillEngine(book::RecordFile& wordFile, RandomSource& random, Clock& clock,
                         Speaker& speaker, DrillHost& host)
    : wordFile_(wordFile), random_(random), clock_(clock), speaker_(speaker), host_(host) {}

DrillEngine::~DrillEngine() = default;

void DrillEngine::showWord(int drop, int stockIndex) {
    const WordStockEntry& word = s_.wordStock[stockIndex];
    s_.dropStockIndex[drop] = stockIndex;
    s_.dropWord[drop] = word;
    s_.lblDropWord[drop].caption = isReading()   ? word.english
                                   : isWriting() ? word.japanese
                                                 : kFullWidthMark;
    s_.dropAnswer[drop] = isWriting() ? word.english : word.japanese;
    if (isListening())
        s_.dropSpeech[drop] = word.english;
    s_.dropRecord[drop] = QString::number(word.recordNo);
}

void DrillEngine::giveNextWord(int drop) {
    const int index = s_.wordStock.drawFree(random_);
    showWord(drop, index);
    s_.wordStock[index].inUse = true;
    s_.dropHoldsWord[drop] = true;
}

void DrillEngine::releaseWord(int drop) {
    const int index = s_.dropStockIndex[drop];
    // A drop that missed its word has let go of it already; the entry may be another
    // drop's by now, so only the holder frees it.
    if (s_.dropHoldsWord[drop] && index >= 0)
        s_.wordStock[index].inUse = false;
    s_.dropHoldsWord[drop] = false;
}

bool DrillEngine::anotherDropShows(int drop) const {
    for (int other = 0; other < kDropCount; ++other) {
        if (other != drop && s_.dropStockIndex[other] >= 0 &&
            s_.dropWord[other].recordNo == s_.dropWord[drop].recordNo)
            return true;
    }
    return false;
}

bool DrillEngine::takeOutOfStock(int drop, Departure departure) {
    const int index = s_.dropStockIndex[drop];
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

    const int recordNo = s_.dropWord[drop].recordNo;
    const int movedFrom = s_.wordStock.removeAt(index);
    // Every drop keeps finding its own word: drops of the departed word lose it, a drop
    // of the moved entry follows it into the hole.
    for (int other = 0; other < kDropCount; ++other) {
        if (s_.dropWord[other].recordNo == recordNo)
            s_.dropStockIndex[other] = -1;
        else if (s_.dropStockIndex[other] == movedFrom)
            s_.dropStockIndex[other] = index;
    }
    return true;
}

void DrillEngine::endIfStockRunsDown() {
    if (s_.wordStock.count() == 10)
        host_.stopDrill();
}

QStringList DrillEngine::translationList() {
    std::array<QString, kDropCount> texts;
    for (int i = 0; i < kDropCount; ++i)
        texts[i] = isWriting() ? s_.dropWord[i].english : s_.dropWord[i].japanese;
    return shuffledWithUnknown(texts, random_);
}

QStringList DrillEngine::pickList() {
    if (isListening())
        return translationList();
    QStringList words;
    for (int i = 0; i < kDropCount; ++i) {
        if (s_.dropSelectable[i])
            words << (isReading() ? s_.dropWord[i].english : s_.dropWord[i].japanese);
    }
    return words;
}

void DrillEngine::fillBox(const QStringList& entries) {
    s_.cmbInputField.clear();
    s_.cmbInputField.entries = entries;
}

void DrillEngine::writeResultLine(const QString& line) {
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
    host_.reportWriteFailure(path, systemText);
}

void DrillEngine::replaceDepartedWord(int drop, Departure departure) {
    if (takeOutOfStock(drop, departure))
        endIfStockRunsDown();
    giveNextWord(drop);
    s_.cmbInputField.requestIme(isReading() ? imeLatinIfKana(host_.inputMode())
                                            : imeByMenu(host_.inputMode()));
    s_.dropSelectable[drop] = true;
    s_.dropUnspoken[drop] = true;
}

} // namespace drill
