#pragma once

#include <QString>

namespace book {

// Why a word list or a title is refused, in the two languages the program speaks:
// velbook's English and the window's Japanese. Both take the same %1, %2, ….
struct Reason {
    QString english;
    QString japanese;

    template <typename T> Reason arg(const T& value) const {
        return {english.arg(value), japanese.arg(value)};
    }
    Reason prefixed(const Reason& subject) const {
        return {subject.english + english, subject.japanese + japanese};
    }
    bool isEmpty() const { return english.isEmpty(); }
};

// One refused line of a word list; line 0 stands for the whole list.
struct ListProblem {
    int line = 0;
    Reason reason;
};

} // namespace book
