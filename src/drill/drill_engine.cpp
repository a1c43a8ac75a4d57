#include "drill_engine.h"
#include "result_text.h"

#include "book/book.h"
#include "book/learning.h"

#include <algorithm>
#include <cmath>

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

// The drill from Start: the class or review loaded, the first words placed.
StartResult DrillEngine::start(const DrillSetup& setup) {
    const StartResult result = begin(setup);
    if (result == StartResult::Started)
        Q_EMIT changed();
    return result;
}

StartResult DrillEngine::begin(const DrillSetup& setup) {
    s_.eofRecord = setup.eofRecord;
    if (setup.reviewWords) {
        // Five drops need one word in reserve.
        if (setup.reviewWords->size() < kFewestWords)
            return StartResult::TooFewWords;
        s_.review = true;
        s_.words = setup.reviewWords->mid(0, WordStock::kLoadedWords);
    } else if (!findClass(setup.classIndex)) {
        // No class would otherwise drill whatever was found before, or read from a record
        // that does not exist.
        return StartResult::NoClassFound;
    }

    s_.mode = setup.mode;
    reportedFailures_.clear();
    s_.answerBox.imeMode = imeOnFocus(s_.mode, settings_.inputMode);
    s_.answerBox.clear();
    s_.speakReady = true;
    refillStock();
    // Every mode speaks the English words: a voice that renders them now plays each from
    // memory the moment it is asked for.
    if (settings_.voiceOn)
        speaker_.prepareWords(s_.stock.englishWords());

    s_.resultLines.clear();
    resultPath_ = setup.resultPath;
    result_ = std::make_unique<book::TextFileWriter>(resultPath_);
    if (!result_->open())
        reportFailure(resultPath_, QString());

    placeFirstWords();
    for (int i = 0; i < kDropCount; ++i) {
        s_.drops[i].visible = true;
        s_.drops[i].enabled = true;
        s_.drops[i].selectable = true;
        s_.drops[i].unspoken = true;
    }
    s_.elapsed = 0;
    s_.selectedDrop = 0;
    writeResultLine(startLine(setup.className));

    s_.timerOn = true;
    s_.running = true;
    s_.newlyMemorised = 0;
    s_.newlyForgotten = 0;
    s_.rightAnswers = 0;
    s_.misses = 0;
    s_.startTime = clock_.secondsSinceMidnight();
    s_.lastTickTime = s_.startTime;

    s_.shownMemorisedTotal =
        wordFile_.read(book::trailerRecord(s_.eofRecord, book::Trailer::MemorisedTotal))
            .modeCount[s_.mode];
    return StartResult::Started;
}

bool DrillEngine::findClass(std::optional<int> classIndex) {
    if (!classIndex || *classIndex < 0 || *classIndex >= book::classCount(s_.eofRecord))
        return false;
    useClass(book::firstWordRecord(*classIndex));
    return true;
}

void DrillEngine::useClass(int firstRecord) {
    s_.review = false;
    s_.classFirstRecord = firstRecord;
    s_.words = classWordRecords(firstRecord);
}

void DrillEngine::setClass(int firstRecord) {
    useClass(firstRecord);
    refillStock();
    Q_EMIT changed();
}

void DrillEngine::refillStock() {
    s_.stock.load(wordFile_, s_.words);
    for (Drop& drop : s_.drops) {
        drop.stockIndex = -1;
        drop.holdsWord = false;
    }
}

void DrillEngine::placeFirstWords() {
    for (int i = 0; i < kDropCount; ++i) {
        giveNextWord(i);
        if (!isListening())
            s_.answerBox.entries << s_.drops[i].caption;
        field_.placeAtStart(s_.drops[i], i);
    }
    field_.placeEntryPattern(s_.drops);

    if (isListening())
        s_.answerBox.entries = translationList();
}

// Each tick, and Enter in listening mode.
void DrillEngine::tick() {
    fall();
    Q_EMIT changed();
}

void DrillEngine::fall() {
    if (!s_.timerOn)
        return;
    // One drop after the other: drop 0 has moved, and maybe been re-placed, before drop 1
    // moves. A fall-out that ends the drill does not cut the loop short.
    for (int i = 0; i < kDropCount; ++i) {
        Drop& drop = s_.drops[i];
        drop.top += 2 * settings_.dropSpeed;
        if (drop.top > kBottomTop && drop.enabled) {
            fallOut(i);
            placeAboveField(i);
            drop.selectable = true;
            s_.speakReady = true;
        }
    }
    const double now = clock_.secondsSinceMidnight();
    for (Drop& drop : s_.drops) {
        if (drop.holdsWord && drop.pickableSince < 0 && drop.top >= kPickableTop)
            drop.pickableSince = now;
    }
    s_.lastTickTime = now;
    s_.elapsed = secondsBetween(s_.startTime, now);
}

void DrillEngine::placeAboveField(int index) {
    if (index >= 0 && index < kDropCount)
        field_.placeAboveField(s_.drops[index], index);
}

void DrillEngine::bringInDrop() { field_.bringInDrop(s_.drops); }

void DrillEngine::announceNextWord() {
    speakNextWord();
    Q_EMIT changed();
}

void DrillEngine::speakNextWord() {
    if (!s_.running || !settings_.voiceOn || !isListening() || !s_.speakReady)
        return;
    // The lowest index wins, not the drop lowest on the screen.
    for (s_.selectedDrop = 0; s_.selectedDrop < kDropCount; ++s_.selectedDrop) {
        Drop& drop = s_.drops[s_.selectedDrop];
        if (drop.top > kPickableTop && drop.unspoken) {
            speaker_.speak(drop.speech);
            drop.unspoken = false;
            drop.selectable = false;
            s_.speakReady = false;
            return;
        }
    }
}

// Selections in the answer box: picking a drop, answering it.
void DrillEngine::selectEntry(const QString& text) {
    s_.answerBox.text = text;
    handleSelection();
    Q_EMIT changed();
}

void DrillEngine::handleSelection() {
    if (!s_.running)
        return;
    const QString& text = s_.answerBox.text; // read afresh at every comparison

    const int answered = s_.selectedDrop;
    if (answered < kDropCount && s_.drops[answered].top >= kPickableTop &&
        !s_.drops[answered].selectable) {
        const QString caption = s_.drops[answered].caption;
        if ((caption == kFullWidthMark && text == kUnknownEntry) ||
            text != s_.drops[answered].answer) {
            answerMissed(answered);
        } else if (caption == kFullWidthMark || caption == kAsciiMark) {
            answerRight(answered);
            placeAboveField(answered);
            bringInDrop();
            s_.drops[answered].selectable = true;
        }
        if (isListening())
            s_.speakReady = true;
        fillBox(pickList());
    }

    for (s_.selectedDrop = 0; s_.selectedDrop < kDropCount; ++s_.selectedDrop) {
        const int i = s_.selectedDrop;
        const Drop& drop = s_.drops[i];
        if (drop.top < kPickableTop || isListening())
            continue;
        const QString& mark = isReading() ? kFullWidthMark : kAsciiMark;
        // A missed drop shows its translation and has let go of its word, which another
        // drop may hold by now: it is not picked again, whatever the text selected.
        if (drop.caption != mark && text == drop.caption && drop.selectable && drop.holdsWord) {
            pickDrop(i);
            fillBox(translationList());
            s_.drops[i].selectable = false;
            return;
        }
    }
}

void DrillEngine::pickDrop(int index) {
    Drop& drop = s_.drops[index];
    if (isReading() && drop.caption != kFullWidthMark) {
        if (settings_.voiceOn)
            speaker_.speak(s_.answerBox.text);
        drop.shownWord = drop.caption;
        drop.caption = kFullWidthMark;
        drop.selectable = false;
        s_.answerBox.requestIme(imeByMenu(settings_.inputMode));
    } else if (isWriting() && drop.caption != kAsciiMark) {
        drop.shownWord = drop.caption;
        drop.caption = kAsciiMark;
        drop.selectable = false;
        s_.answerBox.requestIme(imeLatinIfKana(settings_.inputMode));
    }
}

// Booking right answers and misses.
void DrillEngine::answerRight(int index) {
    releaseWord(index);
    const Drop& drop = s_.drops[index];
    const book::AnswerBooking booking =
        book::bookCorrectAnswer(wordFile_, s_.eofRecord, drop.word.recordNo, s_.mode);
    checkWrite(booking.status);
    ++s_.rightAnswers;
    tellAnswer(index, AnswerOutcome::Right);

    const QString& shown = isListening() ? drop.speech : drop.shownWord;
    if (booking.changedState) {
        ++s_.newlyMemorised;
        s_.shownMemorisedTotal = book::saturatedCounter(s_.shownMemorisedTotal + 1LL);
        writeResultLine(answerLine(AnswerMark::NewlyMemorised, shown, drop.answer));
    } else {
        writeResultLine(answerLine(AnswerMark::Plain, shown, drop.answer));
    }
    if (isWriting() && settings_.voiceOn)
        speaker_.speak(s_.answerBox.text);

    replaceDepartedWord(index, Departure::Answered);
}

void DrillEngine::answerMissed(int index) {
    // The missed word may be drawn again for another drop while this one still shows it.
    releaseWord(index);
    Drop& drop = s_.drops[index];
    const book::AnswerBooking booking =
        book::bookMiss(wordFile_, s_.eofRecord, drop.word.recordNo, s_.mode);
    checkWrite(booking.status);
    ++s_.misses;
    tellAnswer(index,
               s_.answerBox.text == kUnknownEntry ? AnswerOutcome::Unknown : AnswerOutcome::Missed);

    const QString& shown = isListening() ? drop.speech : drop.shownWord;
    if (booking.changedState) {
        ++s_.newlyForgotten;
        s_.shownMemorisedTotal = book::saturatedCounter(s_.shownMemorisedTotal - 1LL);
        writeResultLine(answerLine(AnswerMark::NewlyForgotten, shown, drop.answer));
    } else {
        writeResultLine(answerLine(AnswerMark::Plain, shown, drop.answer));
    }
    if (isWriting() && settings_.voiceOn)
        speaker_.speak(drop.answer);

    if (isReading()) {
        drop.caption = drop.answer;
        s_.answerBox.requestIme(imeByMenu(settings_.inputMode));
    } else if (isWriting()) {
        drop.caption = drop.answer;
        s_.answerBox.requestIme(imeLatinIfKana(settings_.inputMode));
    } else if (drop.caption == kFullWidthMark && drop.top > kPickableTop && !drop.unspoken) {
        drop.caption = drop.answer;
    }
}

// Fall-outs and the end of a drill.
void DrillEngine::fallOut(int drop) {
    // A fall-out books nothing: the word just leaves this drill. Only a word still held
    // fell out unanswered; a missed one was told as missed.
    if (s_.drops[drop].holdsWord)
        tellAnswer(drop, AnswerOutcome::FellOut);
    releaseWord(drop);
    s_.answerBox.text.clear();
    replaceDepartedWord(drop, Departure::FellOut);

    // Reading and writing: every drop can be picked again, the one being answered too.
    if (!isListening())
        for (Drop& each : s_.drops)
            each.selectable = true;
    fillBox(pickList());
}

void DrillEngine::recordDrillEnd() {
    s_.lastTickTime = clock_.secondsSinceMidnight();
    s_.elapsed = secondsBetween(s_.startTime, s_.lastTickTime);
    s_.timerOn = false;

    if (s_.review && s_.rightAnswers + s_.misses == 0) {
        // A review in which nothing was answered practised nothing: it is not booked.
        s_.memorisedTotalAtEnd =
            wordFile_.read(book::trailerRecord(s_.eofRecord, book::Trailer::MemorisedTotal))
                .modeCount[s_.mode];
    } else {
        // A review played no class, so no class header counts a play.
        const int classHeader = s_.review ? 0 : s_.classFirstRecord - 1;
        const book::DrillEndBooking booking =
            book::bookDrillEnd(wordFile_, s_.eofRecord, classHeader, s_.mode, s_.elapsed);
        checkWrite(booking.status);
        s_.memorisedTotalAtEnd = booking.memorisedTotal;
    }

    for (const QString& line :
         summaryLines(s_.newlyForgotten, s_.newlyMemorised, s_.memorisedTotalAtEnd, s_.mode))
        writeResultLine(line);
    if (result_)
        result_->close();
}

void DrillEngine::endDrill() {
    if (!s_.running)
        return;
    stop();
    Q_EMIT changed();
}

void DrillEngine::stop() {
    recordDrillEnd();
    s_.running = false;
    s_.answerBox.clear();
    s_.timerOn = false;
    for (Drop& drop : s_.drops)
        drop.caption = kStoppedCaption;
    Q_EMIT ended();
}

} // namespace drill
