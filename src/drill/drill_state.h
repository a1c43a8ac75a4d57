#pragma once

#include "answer_box.h"
#include "word_stock.h"

#include "book/record_map.h"

#include <QString>

#include <array>

namespace drill {

inline constexpr int kDropCount = 5;
// selectedDrop when no drop is in the answer phase.
inline constexpr int kNoDrop = 5;

// Heights in twips; y grows downwards from the top edge of the play area.
inline constexpr double kPickableTop = -200; // picked or answered only at or below this
inline constexpr double kNearTop = -250;     // where bringInDrop brings a drop in
inline constexpr double kBottomTop = 6200;   // past this a drop has reached the bottom
inline constexpr std::array<int, kDropCount> kDropColumns{120, 1440, 2760, 2640, 2760};

// The marks a picked drop shows: full-width in reading and listening, ASCII in writing.
inline const QString kFullWidthMark = QStringLiteral("？");
inline const QString kAsciiMark = QStringLiteral("?");
// What the five drops show once a drill has stopped.
inline const QString kStoppedCaption = QStringLiteral("☆■☆■");

// One falling label lblDropWord(i), as the window draws it.
struct DropLabel {
    QString caption;
    double top = 0;
    int left = 0;
    bool visible = false;
    bool enabled = false;
};

// The drill state of the main window. The window reads it to draw; the engine changes it.
struct DrillState {
    book::Mode mode = book::Reading;
    int eofRecord = 0;
    int classFirstRecord = 0;

    WordStock wordStock; // its count() is wordStockCount

    std::array<DropLabel, kDropCount> lblDropWord{};
    std::array<int, kDropCount> dropStockIndex{}; // -1 once the drop's word left the drill
    std::array<QString, kDropCount> dropAnswer;
    std::array<QString, kDropCount> dropSpeech;
    std::array<QString, kDropCount> dropRecord;
    std::array<bool, kDropCount> dropSelectable{};
    std::array<bool, kDropCount> dropUnspoken{};
    std::array<QString, kDropCount> dropShownWord;
    // The word each drop shows, kept with the drop so that it stays known after the word
    // has left the stock, and whether the drop still holds its stock entry (until a miss).
    std::array<WordStockEntry, kDropCount> dropWord{};
    std::array<bool, kDropCount> dropHoldsWord{};

    int selectedDrop = 0;
    bool speakReady = false;

    double drillStartTime = 0;
    double lastTickTime = 0;
    double drillElapsed = 0;
    int drillMemoryCount = 0;
    int drillForgetCount = 0;
    int drillRightCount = 0; // every right answer, not only newly memorised words
    int drillMissCount = 0;  // every wrong answer and "？"
    std::array<qint16, book::kModeCount> totalMemoryCount{};
    int resultMemoryTotal = 0;

    AnswerBox cmbInputField;
    int txtTotalMemoryCnt = 0; // the number the memorised-total box shows
    bool timerOn = false;      // tmrMain enabled
    bool running = false;      // between Start and the end of the drill
};

} // namespace drill

namespace drill {

// Seconds from `start` to `now`, both times of day; a drill that passed midnight
// since `start` gets the day added.
inline double secondsBetween(double start, double now) {
    return start > now ? now - start + 86400 : now - start;
}

} // namespace drill
