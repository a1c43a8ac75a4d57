#pragma once

#include "drill_settings.h"
#include "drill_state.h"
#include "drop_field.h"
#include "ports.h"

#include "book/record_file.h"
#include "book/text_file.h"

#include <QObject>
#include <QSet>
#include <QString>

#include <memory>
#include <optional>

namespace drill {

// What the session knows when Start is pressed.
struct DrillSetup {
    QString className; // what the class box chose, named in result.txt's first line
    // The class drilled; none (or an index past the book's classes) drills nothing.
    std::optional<int> classIndex;
    book::Mode mode = book::Reading;
    int eofRecord = 0;
    QString resultPath; // result.txt in the program folder
    // A review drills these word records instead of a class, and no class is booked as
    // played.
    std::optional<QList<int>> reviewWords = std::nullopt;
};

enum class StartResult {
    Started,
    NoClassFound, // no class of the book was chosen: nothing was changed
    TooFewWords,  // a review with fewer than kFewestWords words: nothing was changed
};

// The falling-words drill of the main window, free of widgets. The drill view hands it
// the learner's events (each timer tick, each selection in the answer box, Enter) and
// draws state() whenever it announces a change; the session starts and ends it. It reads
// and writes the book through the session's long-lived handle, and reads the learner's
// settings as the session keeps them.
class DrillEngine : public QObject {
    Q_OBJECT

public:
    struct Ports {
        RandomSource& random;
        Clock& clock;
        Speaker& speaker;
    };
    DrillEngine(book::RecordFile& wordFile, const DrillSettings& settings, Ports ports,
                QObject* parent = nullptr);
    ~DrillEngine() override;

    // What the drill view draws. Only the engine's steps and the setters below change it;
    // every step ends with changed().
    const DrillState& state() const { return s_; }

    // Start: the class's (or the review's) words, the first five drops, result.txt, the
    // timer.
    StartResult start(const DrillSetup& setup);
    // Ends the drill: the statistics and the summary (recordDrillEnd), then the list
    // cleared, the timer off, result.txt closed and the drops showing "☆■☆■". Does
    // nothing when no drill runs.
    void endDrill();
    // Whether a drop is in its answer phase: the next selection answers it.
    bool answering() const {
        return s_.selectedDrop >= 0 && s_.selectedDrop < kDropCount &&
               !s_.drops[s_.selectedDrop].selectable;
    }

    // One 100 ms tick: every drop falls by twice the settings' drop speed.
    void tick();
    // The learner selected an entry of the answer box (or typed it and pressed Enter);
    // runs once per selected entry.
    void selectEntry(const QString& text);
    // Enter in the answer box: in listening mode the next word in the field is spoken.
    void announceNextWord();

    // Makes the class whose words begin at `firstRecord` the drill's class and loads its
    // words into the stock (choosing a class between drills).
    void setClass(int firstRecord);
    // The input-method mode the answer box has taken (it receives the focus).
    void setImeMode(ImeMode mode) { s_.answerBox.imeMode = mode; }

Q_SIGNALS:
    // A step has changed state(): the drill view draws it.
    void changed();
    // The drill has ended, by endDrill() or because its stock ran down; the result is
    // complete in result.txt and in state().
    void ended();
    // A write of the book or of result.txt failed, for the reason the system gave (empty
    // when it gave none). Told once per file and drill.
    void writeFailed(const QString& path, const QString& systemText);
    // A word was answered right, missed, answered "？" or fell out unanswered.
    void answered(const drill::WordAnswer& answer);

private:
    // Test-only: sets up situations and runs single steps.
    friend class DrillTestAccess;

    // The bodies of the commands above, which announce their change when done.
    StartResult begin(const DrillSetup& setup);
    void fall();
    void speakNextWord();
    // Ends a running drill (endDrill's body, also run when the stock runs down).
    void stop();

    // The drill's steps, which the events above run.
    bool findClass(std::optional<int> classIndex);
    void useClass(int firstRecord);
    void refillStock();
    void placeFirstWords();
    void placeAboveField(int drop);
    void bringInDrop();
    void pickDrop(int drop);
    void answerRight(int drop);
    void answerMissed(int drop);
    void fallOut(int drop);
    void recordDrillEnd();

    void handleSelection();
    bool isReading() const { return s_.mode == book::Reading; }
    bool isWriting() const { return s_.mode == book::Writing; }
    bool isListening() const { return s_.mode == book::Listening; }

    // Draws a free word for the drop and shows it there.
    void giveNextWord(int drop);
    void showWord(int drop, int stockIndex);
    void releaseWord(int drop);
    enum class Departure { Answered, FellOut };
    bool takeOutOfStock(int drop, Departure departure);
    // The drop's word has left: the drill may end, and the drop gets its next word
    // (even when the drill has just stopped).
    void replaceDepartedWord(int drop, Departure departure);
    bool anotherDropShows(int drop) const;
    void endIfStockRunsDown();

    QStringList pickList();
    QStringList translationList();
    void fillBox(const QStringList& entries);

    void tellAnswer(int drop, AnswerOutcome outcome);
    void writeResultLine(const QString& line);
    void checkWrite(book::WriteStatus status);
    void reportFailure(const QString& path, const QString& systemText);

    book::RecordFile& wordFile_;
    const DrillSettings& settings_;
    RandomSource& random_;
    DropField field_{random_};
    Clock& clock_;
    Speaker& speaker_;

    DrillState s_;
    QString resultPath_;
    std::unique_ptr<book::TextFileWriter> result_;
    QSet<QString> reportedFailures_;
};

} // namespace drill
