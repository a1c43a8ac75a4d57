#pragma once

#include "chart_view.h"

#include "session/progress_numbers.h"

#include <array>

namespace progress {

// "リーディング編", "ライティング編" or "リスニング編".
QString modeTitle(book::Mode mode);

// The view's three charts: memorised words per class, the memorised total after each
// drill, and the study time of each of the last 30 days.
std::array<Chart, 3> progressCharts(const session::ProgressNumbers& numbers);

// The line above the charts: the mode, the memorised words and the study time as
// people read them.
QString progressSummary(const session::ProgressNumbers& numbers);

} // namespace progress
