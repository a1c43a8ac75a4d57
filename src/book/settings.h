#pragma once

#include "record_file.h"

#include <QString>

#include <array>
#include <optional>

namespace book {

// The speeds of the speed menu: the text kept in the speed record and the fall step.
struct SpeedSetting {
    const char* storedText;
    double dropSpeed;
};
inline constexpr std::array<SpeedSetting, 5> kSpeeds{{
    {"1", 5.0},
    {"0", 10.0}, // speed 2 is stored as "0", which is also what a data reset writes
    {"3", 15.0},
    {"4", 20.0},
    {"5", 25.0},
}};
// The speed (0 to 4) that a stored text selects, if any.
std::optional<int> speedFromText(const QString& text);

enum class InputMode { Hiragana, Katakana, Normal };
QString storedText(InputMode mode);
std::optional<InputMode> inputModeFromText(const QString& text);

// Voice ON is stored as "0", OFF as "1".
QString storedVoiceText(bool voiceOn);
std::optional<bool> voiceFromText(const QString& text);

// Which string of a settings record holds the setting.
enum class SettingField { English, Japanese };

// Rewrites one settings record with trimmed texts and the new value in its field.
WriteStatus writeSetting(RecordFile& file, int recordNo, SettingField field, const QString& value);

} // namespace book
