#include "local_time.h"

namespace folder {

namespace {

// The digits at `at` of `text` as a number, or -1.
int digits(QByteArrayView text, qsizetype at, qsizetype count) {
    int value = 0;
    for (qsizetype i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

bool parseLocalDateTime(QByteArrayView text, QDate* day, QTime* time) {
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':')
        return false;
    *day = QDate(digits(text, 0, 4), digits(text, 5, 2), digits(text, 8, 2));
    *time = QTime(digits(text, 11, 2), digits(text, 14, 2), digits(text, 17, 2));
    return day->isValid() && time->isValid();
}

} // namespace folder
