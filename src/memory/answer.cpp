#include "answer.h"

namespace memory {

Rating ratingFor(Outcome outcome, double seconds) {
    if (outcome != Outcome::Right)
        return Rating::Again;
    return seconds <= kQuickAnswerSeconds ? Rating::Good : Rating::Hard;
}

} // namespace memory
