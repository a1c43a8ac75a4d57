#pragma once

#include "book/record_file.h"

#include <QStringList>

namespace views {

// A quotient as the grade table shows it: rounded to four places (halves to even),
// no trailing zeros, no decimal point for a whole number.
QString decimalNumber(double value);

// The grade table: for each drill mode the study time, drills, memorised and forgotten
// words, memorised classes and the averages per memorised word. A book without an end
// record shows zeros.
QStringList gradeTableLines(const book::RecordFile& file, int eofRecord);

} // namespace views
