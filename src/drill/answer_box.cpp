#include "answer_box.h"

namespace drill {

std::optional<ImeMode> imeByMenu(book::InputMode menu) {
    switch (menu) {
    case book::InputMode::Hiragana:
        return ImeHiragana;
    case book::InputMode::Katakana:
        return ImeKatakana;
    case book::InputMode::Normal:
        break;
    }
    return std::nullopt;
}

std::optional<ImeMode> imeLatinIfKana(book::InputMode menu) {
    if (menu == book::InputMode::Normal)
        return std::nullopt;
    return ImeAlphanumeric;
}

ImeMode imeOnFocus(book::Mode mode, book::InputMode menu) {
    // Reading answers are picked by their English word, so conversion is always off there.
    if (mode == book::Reading)
        return ImeAlphanumeric;
    return imeByMenu(menu).value_or(ImeAlphanumeric);
}

QStringList shuffledWithUnknown(QStringList remaining, RandomSource& random) {
    QStringList list;
    for (int n = int(remaining.size()); n >= 1; --n) {
        const int k = int(n * random.next());
        list << remaining[k];
        remaining[k] = remaining[n - 1];
    }
    list << kUnknownEntry;
    return list;
}

} // namespace drill
