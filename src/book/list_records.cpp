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

QList<ListRecord> splitListRecords(QStringView text, QChar delimiter) {
    QList<ListRecord> records;
    int line = 1;
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size) {
        ListRecord record{line, {}, false};
        bool anotherField = true;
        while (anotherField) {
            QString field;
            if (i < size && text[i] == u'"') {
                bool closed = false;
                for (++i; i < size && !closed; ++i) {
                    if (text[i] != u'"') {
                        line += text[i] == u'\n';
                        field += text[i];
                    } else if (i + 1 < size && text[i + 1] == u'"') {
                        field += u'"';
                        ++i;
                    } else {
                        closed = true;
                    }
                }
                record.openQuote = !closed;
            }
            const qsizetype start = i;
            while (i < size && text[i] != delimiter && text[i] != u'\n')
                ++i;
            field += text.sliced(start, i - start);
            record.fields.append(field);
            anotherField = i < size && text[i] == delimiter;
            i += anotherField;
        }
        if (i < size) { // the '\n' that ends the row
            ++i;
            ++line;
        }
        records.append(record);
    }
    return records;
}

} // namespace book
