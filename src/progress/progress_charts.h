#pragma once

#include "chart_view.h"

#include "session/progress_numbers.h"

#include <array>

namespace progress {

// "リーディング編", "ライティング編" or "リスニング編".
QString modeTitle(book::Mode mode);

inline constexpr int kChartCount = 5;

// The view's charts: memorised words per class, the memorised total after each drill, the
// study time of each of the last 30 days, the words falling due on each of the next 30
// days, and the estimated retention of the learned words at the end of each day.
std::array<Chart, kChartCount> progressCharts(const session::ProgressNumbers& numbers);

// The line above the charts: the mode, the memorised words and the study time as
// people read them.
QString progressSummary(const session::ProgressNumbers& numbers);

} // namespace progress
