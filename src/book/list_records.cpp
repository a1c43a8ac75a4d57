#include "list_records.h"

#include <QStringTokenizer>

namespace book {

QChar listDelimiter(QStringView text) {
    constexpr int kRowsLookedAt = 5;
    int rows = 0;
    int tabRows = 0;
    int commaRows = 0;
    for (const QStringView line : QStringTokenizer(text, u'\n')) {
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        tabRows += line.contains(u'\t');
        commaRows += line.contains(u',');
        if (++rows == kRowsLookedAt)
            break;
    }
    return tabRows > 0 && tabRows >= commaRows ? u'\t' : u',';
}

// The quoted part of a field, from its opening quote on. A view of the text when nothing
// in it is doubled; the part itself, kept in the record, otherwise.
QStringView ListRecordReader::quotedField(ListRecord& record) {
    const qsizetype size = text_.size();
    const qsizetype begin = ++at_;
    QString undoubled;
    qsizetype copiedTo = begin;
    qsizetype end = text_.indexOf(u'"', at_);
    while (end >= 0 && end + 1 < size && text_[end + 1] == u'"') {
        undoubled.append(text_.sliced(copiedTo, end + 1 - copiedTo));
        copiedTo = end + 2;
        end = text_.indexOf(u'"', copiedTo);
    }
    if (end < 0) {
        end = size;
        record.openQuoteLine = line_;
    }
    line_ += int(text_.sliced(begin, end - begin).count(u'\n'));
    at_ = std::min(end + 1, size); // past the closing quote
    if (copiedTo == begin)
        return text_.sliced(begin, end - begin);
    record.unquoted << undoubled.append(text_.sliced(copiedTo, end - copiedTo));
    return record.unquoted.constLast();
}

// Where `c` is next, at or after the reading place, or the end of the text. `found` keeps
// the last answer, so that the text is searched once for each of its delimiters and line
// ends, and once only for a character it lacks.
qsizetype ListRecordReader::nextOf(QChar c, qsizetype& found) const {
    if (found < at_) {
        found = text_.indexOf(c, at_);
        if (found < 0)
            found = text_.size();
    }
    return found;
}

bool ListRecordReader::next(ListRecord& record) {
    const qsizetype size = text_.size();
    if (at_ >= size)
        return false;
    record.line = line_;
    record.fields.clear();
    record.openQuoteLine = 0;
    record.unquoted.clear();
    bool anotherField = true;
    while (anotherField) {
        const bool isQuoted = at_ < size && text_[at_] == u'"';
        const QStringView quoted = isQuoted ? quotedField(record) : QStringView();
        const qsizetype start = at_;
        at_ = std::min(nextOf(delimiter_, nextDelimiter_), nextOf(u'\n', nextLineEnd_));
        const QStringView rest = text_.sliced(start, at_ - start);
        if (!isQuoted) {
            record.fields << rest;
        } else if (rest.isEmpty()) {
            record.fields << quoted;
        } else {
            record.unquoted << quoted.toString().append(rest);
            record.fields << record.unquoted.constLast();
        }
        anotherField = at_ < size && text_[at_] == delimiter_;
        at_ += anotherField;
    }
    record.lastLine = line_;
    if (at_ < size) { // the '\n' that ends the row
        ++at_;
        ++line_;
    }
    return true;
}

namespace {

// Whether the text starts a formula once the ' before it, if any, are taken off.
bool looksLikeFormula(QStringView text) {
    while (text.startsWith(u'\''))
        text = text.sliced(1);
    return !text.isEmpty() && QStringView(u"=+-@\t\r").contains(text.front());
}

} // namespace

QString guardedCell(const QString& text) { return looksLikeFormula(text) ? u'\'' + text : text; }

QStringView unguardedCell(QStringView cell) {
    return cell.startsWith(u'\'') && looksLikeFormula(cell) ? cell.sliced(1) : cell;
}

} // namespace book
