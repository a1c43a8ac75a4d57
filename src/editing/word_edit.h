#pragma once

#include "book/record_file.h"

#include <QString>

#include <optional>

namespace editing {

// The work of the word editor on one open word book, without any widget: finding the
// record a class name and an ID address, the translation search and the update.

// The text of the ID box as a number rounded down; nothing when it is not a number.
std::optional<int> parseWordId(const QString& text);

// The header record of the first class whose trimmed name equals the text as typed;
// 0 when no class has that name.
int classHeaderByName(const book::RecordFile& file, const QString& className);

// The record the two boxes address, header + ID, trimmed: ID 0 is the class header and
// an unknown class counts from record 0. Nothing when the ID is not a number. A record
// below 1 is never read and shows as empty.
std::optional<book::WordRecord> recordToShow(const book::RecordFile& file, const QString& className,
                                             const QString& idText);

struct SearchHit {
    bool byEnglish = false; // the English text matched, so the Japanese is the answer
    QString english;        // the record's texts, trimmed
    QString japanese;
    QString className; // the class the record belongs to
    int id = 0;        // 0 for a class header
};

// The first record of the book's classes whose trimmed English equals `english` or,
// failing that, whose trimmed Japanese equals `japanese`. Only records before the end
// record are words: what lies behind it never matches.
std::optional<SearchHit> searchTranslation(const book::RecordFile& file, const QString& english,
                                           const QString& japanese);

struct WordUpdate {
    QString refusal; // why nothing was written, for the learner; empty when written
    book::WriteStatus status = book::WriteStatus::Ok;
};

// Writes the word with the given ID of the named class as a new word (all counters 0).
WordUpdate updateWord(book::RecordFile& file, const QString& className, const QString& idText,
                      const QString& english, const QString& japanese);

// Why a refused write wrote nothing, for the learner.
QString writeFailureText(book::WriteStatus status);

} // namespace editing
