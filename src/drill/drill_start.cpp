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
    s_.eofRecord = setup.eofRecord;
    // A name that matches no class would otherwise drill whatever was found before, or
    // read from a record that does not exist.
    if (!findClass(setup.className))
        return StartResult::NoClassFound;

    s_.mode = setup.mode;
    reportedFailures_.clear();
    s_.cmbInputField.imeMode = imeOnFocus(s_.mode, host_.inputMode());
    s_.cmbInputField.clear();
    s_.speakReady = true;
    refillStock();

    resultPath_ = setup.resultPath;
    result_ = std::make_unique<book::TextFileWriter>(resultPath_);
    if (!result_->open())
        reportFailure(resultPath_, QString());

    placeFirstWords();
    for (int i = 0; i < kDropCount; ++i) {
        s_.lblDropWord[i].visible = true;
        s_.lblDropWord[i].enabled = true;
        s_.dropSelectable[i] = true;
        s_.dropUnspoken[i] = true;
    }
    s_.drillElapsed = 0;
    s_.selectedDrop = 0;
    writeResultLine(startLine(setup.className));

    s_.timerOn = true;
    s_.running = true;
    s_.drillMemoryCount = 0;
    s_.drillForgetCount = 0;
    s_.drillRightCount = 0;
    s_.drillMissCount = 0;
    s_.drillStartTime = clock_.secondsSinceMidnight();
    s_.lastTickTime = s_.drillStartTime;

    s_.totalMemoryCount =
        wordFile_.read(book::trailerRecord(s_.eofRecord, book::Trailer::MemorisedTotal)).modeCount;
    s_.txtTotalMemoryCnt = s_.totalMemoryCount[s_.mode];
    return StartResult::Started;
}

bool DrillEngine::findClass(const QString& className) {
    const auto found = book::findClassByName(wordFile_, s_.eofRecord, className);
    if (!found)
        return false;
    s_.classFirstRecord = book::firstWordRecord(*found);
    return true;
}

void DrillEngine::refillStock() {
    s_.wordStock.load(wordFile_, s_.classFirstRecord);
    s_.dropStockIndex.fill(-1);
    s_.dropHoldsWord.fill(false);
}

void DrillEngine::placeFirstWords() {
    for (int i = 0; i < kDropCount; ++i) {
        giveNextWord(i);
        if (!isListening())
            s_.cmbInputField.entries << s_.lblDropWord[i].caption;
        s_.lblDropWord[i].left = kStartLefts[i] + int(std::floor(600 * random_.next()));
        if (i == 1)
            s_.lblDropWord[i].top = std::floor(-5000 - 1500 * random_.next());
        else if (i == 3)
            s_.lblDropWord[i].top = std::floor(-6000 - 500 * random_.next());
    }

    const int pattern = int(3 * random_.next());
    for (int j = 0; j < 3; ++j) {
        const int bound = kPatternTops[pattern][j];
        s_.lblDropWord[2 * j].top =
            bound == 0 ? kFirstEntryTop : std::floor(bound - 500 * random_.next());
    }

    if (isListening())
        s_.cmbInputField.entries = translationList();
}

} // namespace drill
