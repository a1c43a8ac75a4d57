#include "pcm.h"

namespace platform {

namespace {

// Quieter than this is the synthesiser's silence (its noise floor reaches about 100).
constexpr int kSilenceLevel = 160;
// Kept before the first and after the last sound, so that no onset or fade is cut.
constexpr int kMarginMs = 30;

} // namespace

Pcm Pcm::withoutSilenceAround() const {
    const auto* data = reinterpret_cast<const qint16*>(samples.constData());
    const qsizetype count = samples.size() / 2;
    const auto loud = [&](qsizetype i) { return std::abs(int(data[i])) > kSilenceLevel; };
    qsizetype first = 0;
    while (first < count && !loud(first))
        ++first;
    if (first == count)
        return {};
    qsizetype last = count - 1;
    while (!loud(last))
        --last;
    const qsizetype margin = qsizetype(sampleRate) * kMarginMs / 1000;
    first = std::max<qsizetype>(0, first - margin);
    last = std::min(count - 1, last + margin);
    return {samples.mid(first * 2, (last - first + 1) * 2), sampleRate};
}

} // namespace platform
