#include "drill_engine.h"
#include "result_text.h"

#include "book/book.h"

#include <cmath>

namespace drill {

namespace {

// Start columns of the five drops, each moved right by up to 600 twips at random.
constexpr std::array<int, kDropCount> kStartLefts{100, 1300, 2700, 2300, 2100};
// The drop that enters first, in the patterns of drops 0, 2 and 4.
constexpr double kFirstEntryTop = -220;
// Upper bounds of the start heights of drops 0, 2 and 4 in each of the three patterns;
// 0 marks the drop that enters first.
constexpr std::array<std::array<int, 3>, 3> kPatternTops{{
    {-4000, 0, -2000},
    {-2000, -4000, 0},
    {0, -2000, -4000},
}};

} // namespace

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
        s_.drops[i].left = kStartLefts[i] + int(std::floor(600 * random_.next()));
        if (i == 1)
            s_.drops[i].top = std::floor(-5000 - 1500 * random_.next());
        else if (i == 3)
            s_.drops[i].top = std::floor(-6000 - 500 * random_.next());
    }

    const int pattern = int(3 * random_.next());
    for (int j = 0; j < 3; ++j) {
        const int bound = kPatternTops[pattern][j];
        s_.drops[2 * j].top =
            bound == 0 ? kFirstEntryTop : std::floor(bound - 500 * random_.next());
    }

    if (isListening())
        s_.answerBox.entries = translationList();
}

} // namespace drill
