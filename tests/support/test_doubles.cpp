#include "test_doubles.h"

namespace testsupport {

double ScriptedRandom::next() {
    ++draws_;
    if (!queue_.empty()) {
        const double value = queue_.front();
        queue_.pop_front();
        return value;
    }
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator_);
}

} // namespace testsupport
