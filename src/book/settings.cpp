#include "settings.h"

namespace book {

std::optional<int> speedFromText(const QString& text) {
    for (int i = 0; i < int(kSpeeds.size()); ++i) {
        if (text == QLatin1StringView(kSpeeds[i].storedText))
            return i;
    }
    return std::nullopt;
}

QString storedText(InputMode mode) {
    switch (mode) {
    case InputMode::Hiragana:
        return QStringLiteral("1");
    case InputMode::Katakana:
        return QStringLiteral("0");
    case InputMode::Normal:
        return QStringLiteral("2");
    }
    return {};
}

std::optional<InputMode> inputModeFromText(const QString& text) {
    for (InputMode mode : {InputMode::Hiragana, InputMode::Katakana, InputMode::Normal}) {
        if (text == storedText(mode))
            return mode;
    }
    return std::nullopt;
}

QString storedVoiceText(bool voiceOn) {
    return voiceOn ? QStringLiteral("0") : QStringLiteral("1");
}

std::optional<bool> voiceFromText(const QString& text) {
    if (text == storedVoiceText(true))
        return true;
    if (text == storedVoiceText(false))
        return false;
    return std::nullopt;
}

WriteStatus writeSetting(RecordFile& file, int recordNo, SettingField field, const QString& value) {
    WordRecord record = file.read(recordNo).trimmed();
    (field == SettingField::English ? record.english : record.japanese) = value;
    return file.write(recordNo, record);
}

} // namespace book
