#pragma once

namespace book {

// A text converter made once and readied for each text: opening a code page costs far
// more than converting a short text, and Qt 6.4's ICU converters keep their error count
// whatever resetState() does, so ready() clears it itself.
template <typename Converter> class ReusedConverter : public Converter {
public:
    using Converter::Converter;

    Converter& ready() {
        this->resetState();
        this->state.invalidChars = 0;
        this->state.remainingChars = 0;
        return *this;
    }
};

} // namespace book
