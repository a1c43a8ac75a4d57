#pragma once

#include "ports.h"

#include "book/record_map.h"
#include "book/settings.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace drill {

// The Japanese input-method modes the answer box asks for.
enum ImeMode : int {
    ImeNone = 0, // nothing asked for yet
    ImeHiragana = 4,
    ImeKatakana = 5,
    ImeAlphanumeric = 8,
};

// The entry a learner chooses for "I do not know".
inline const QString kUnknownEntry = QStringLiteral("？");

// What the window shows in answerBox_: its list, its text and its input-method mode.
struct AnswerBox {
    QStringList entries;
    QString text;
    ImeMode imeMode = ImeNone;

    // Removes all entries and empties the text.
    void clear() {
        entries.clear();
        text.clear();
    }
    void requestIme(std::optional<ImeMode> mode) {
        if (mode)
            imeMode = *mode;
    }
};

// 4 for hiragana, 5 for katakana, nothing without automatic conversion.
std::optional<ImeMode> imeByMenu(book::InputMode menu);
// 8 when a kana mode is checked, nothing otherwise.
std::optional<ImeMode> imeLatinIfKana(book::InputMode menu);
// The mode the box takes whenever it receives the focus.
ImeMode imeOnFocus(book::Mode mode, book::InputMode menu);

// The texts in an order drawn at random (each order equally likely), then "？".
QStringList shuffledWithUnknown(QStringList texts, RandomSource& random);

} // namespace drill
