#include "drop_field.h"

#include <algorithm>
#include <cmath>

namespace drill {

namespace {

// Start columns of the five drops, each moved right by up to 600 twips at random.
constexpr std::array<int, kDropCount> kStartLefts{100, 1300, 2700, 2300, 2100};
// The drop that enters first, in the patterns of drops 0, 2 and 4.
constexpr double kFirstEntryTop = -220;
// Upper bounds of the start heights of drops 0, 2 and 4 in each of the three patterns;
// 0 marks the drop that enters first.
constexpr std::array<std::array<int, 3>, 3> kPatternTops{{
    {-4000, 0, -2000},
    {-2000, -4000, 0},
    {0, -2000, -4000},
}};

} // namespace

void DropField::placeAtStart(Drop& drop, int index) {
    drop.left = kStartLefts[index] + int(std::floor(600 * random_.next()));
    if (index == 1)
        drop.top = std::floor(-5000 - 1500 * random_.next());
    else if (index == 3)
        drop.top = std::floor(-6000 - 500 * random_.next());
}

void DropField::placeEntryPattern(std::array<Drop, kDropCount>& drops) {
    const int pattern = int(3 * random_.next());
    for (int j = 0; j < 3; ++j) {
        const int bound = kPatternTops[pattern][j];
        drops[2 * j].top = bound == 0 ? kFirstEntryTop : std::floor(bound - 500 * random_.next());
    }
}

void DropField::placeAboveField(Drop& drop, int index) {
    drop.top = std::min(random_.next() * -5000 - 250, -500.0);
    drop.left = kDropColumns[index];
}

void DropField::bringInDrop(std::array<Drop, kDropCount>& drops) {
    for (const Drop& drop : drops) {
        if (drop.top >= kNearTop)
            return;
    }
    // Only drops 0, 2 and 4 are brought in, with equal chance.
    static constexpr std::array<int, 3> kBroughtIn{2, 4, 0};
    drops[kBroughtIn[int(3 * random_.next())]].top = kNearTop;
}

} // namespace drill
