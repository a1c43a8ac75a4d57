#pragma once

#include <optional>

namespace session {

// What the class box chose: one of the book's classes, or a drill gathered from the whole
// book. Never told apart by the box's text, so a class may bear any name.
struct ClassChoice {
    enum class Kind {
        Class,     // the class at classIndex
        WeakWords, // the review of the mode's weak words (「苦手な単語」)
        DueWords,  // the review of the words the memory model finds due (「今日の復習」)
    };
    Kind kind = Kind::Class;
    // Kind::Class: the chosen class; none when a typed name matched no class.
    std::optional<int> classIndex;

    static ClassChoice ofClass(std::optional<int> index) { return {Kind::Class, index}; }
    static ClassChoice weakWords() { return {Kind::WeakWords, std::nullopt}; }
    static ClassChoice dueWords() { return {Kind::DueWords, std::nullopt}; }
    bool operator==(const ClassChoice&) const = default;
};

} // namespace session
