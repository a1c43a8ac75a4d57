#pragma once

#include <QByteArrayView>
#include <QDate>
#include <QTime>

namespace folder {

// A local date and time written as yyyy-MM-ddTHH:mm:ss, as the program writes them in
// history.tsv and the backup index. Read directly: a local QDateTime costs a time-zone
// look-up, which is far more than reading a row. False for any other text.
bool parseLocalDateTime(QByteArrayView text, QDate* day, QTime* time);

} // namespace folder
