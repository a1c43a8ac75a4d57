#pragma once

#include "answer_box.h"
#include "word_stock.h"

#include "book/record_map.h"

#include <QString>
#include <QStringList>

#include <array>

namespace drill {

inline constexpr int kDropCount = 5;
// The fewest words a drill starts with: one for each drop and one in reserve.
inline constexpr int kFewestWords = kDropCount + 1;
// selectedDrop when no drop is in the answer phase.
inline constexpr int kNoDrop = kDropCount;

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

// One falling word, dropLabels_(i): where the window draws it and what it shows, the word
// it asks for, and where it stands in answering.
struct Drop {
    QString caption;
    double top = 0;
    int left = 0;
    bool visible = false;
    bool enabled = false;

    // The word it shows, kept with the drop so that it stays known after the word has left
    // the stock; its entry in the stock (-1 once the word has left the drill), and whether
    // the drop still holds that entry (until a miss lets go of it).
    WordStockEntry word;
    int stockIndex = -1;
    bool holdsWord = false;
    QString answer;          // the translation that answers it
    QString speech;          // listening: the English word that Enter has spoken
    QString shownWord;       // the word it showed when it was picked
    bool selectable = false; // waits to be picked
    bool unspoken = false;   // listening: its word has not been spoken yet
    // The clock (seconds since midnight) when its word first reached kPickableTop; below 0
    // until then.
    double pickableSince = -1;
};

// What became of a word the learner was asked, for the answer log.
enum class AnswerOutcome { Right, Missed, Unknown, FellOut };

// One answer of a drill: the word (record and texts as drilled), the mode, the outcome and
// the seconds from the word's first being pickable to the answer.
struct WordAnswer {
    int record = 0;
    QString english;
    QString japanese;
    book::Mode mode = book::Reading;
    AnswerOutcome outcome = AnswerOutcome::Right;
    double seconds = 0;
};

// The drill state of the main window. The window reads it to draw; the engine changes it.
struct DrillState {
    book::Mode mode = book::Reading;
    int eofRecord = 0;
    int classFirstRecord = 0; // the class of the last class drill (or chosen class)
    bool review = false;      // the drill reviews weak words of the whole book, not a class
    QList<int> words;         // the record numbers of the drilled words, as loaded

    WordStock stock;
    std::array<Drop, kDropCount> drops{};
    int selectedDrop = 0;    // the drop in its answer phase; kNoDrop (or a selectable drop): none
    bool speakReady = false; // listening: Enter may speak the next word

    double startTime = 0; // seconds since midnight at Start
    double lastTickTime = 0;
    double elapsed = 0;          // seconds since Start, as of the last tick
    int newlyMemorised = 0;      // words memorised in this drill
    int newlyForgotten = 0;      // memorised words missed in this drill
    int rightAnswers = 0;        // every right answer, not only newly memorised words
    int misses = 0;              // every wrong answer and "？"
    int memorisedTotalAtEnd = 0; // the book's memorised total when the drill ended
    QStringList resultLines;     // what the drill wrote to result.txt, for the window to show

    AnswerBox answerBox;
    int shownMemorisedTotal = 0; // the number memorisedTotal_ shows
    bool timerOn = false;        // the drill timer runs
    bool running = false;        // between Start and the end of the drill
};

} // namespace drill

namespace drill {

// Seconds from `start` to `now`, both times of day; a drill that passed midnight
// since `start` gets the day added.
inline double secondsBetween(double start, double now) {
    return start > now ? now - start + 86400 : now - start;
}

} // namespace drill
