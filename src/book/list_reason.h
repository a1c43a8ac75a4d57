#pragma once

#include <QString>

#include <concepts>

namespace book {

// A value as it fills a place of a message: a text as it is, a number in digits.
inline QStringView placeText(QStringView text) { return text; }
inline QString placeText(std::integral auto number) { return QString::number(number); }

// Why a word list or a title is refused, in the two languages the program speaks:
// velbook's English and the window's Japanese. Both take the same %1, %2, ….
struct Reason {
    QString english;
    QString japanese;

    // Fills in %1, %2, … all at once: one .arg() after another would read a "%1" in a
    // name filled in earlier as a place to fill.
    template <typename... Values> Reason arg(const Values&... values) const {
        return filled(placeText(values)...);
    }
    Reason prefixed(const Reason& subject) const {
        return {subject.english + english, subject.japanese + japanese};
    }
    bool isEmpty() const { return english.isEmpty(); }

private:
    template <typename... Texts> Reason filled(const Texts&... texts) const {
        return {english.arg(texts...), japanese.arg(texts...)};
    }
};

// One refused line of a word list; line 0 stands for the whole list.
struct ListProblem {
    int line = 0;
    Reason reason;
};

} // namespace book
