#include "voices.h"

#include "flite_voice.h"
#include "rendering_speech_engine.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <array>

namespace platform {

namespace {

struct OwnVoice {
    const char* name;    // the flite voice
    const char* caption; // UTF-8
};

// Clearest first, as bench/voice_intelligibility.sh measured them with a recogniser over
// the default book's words.
constexpr std::array<OwnVoice, 5> kOwnVoices{{
    {"rms", "rms（アメリカ英語・男声）"},
    {"awb", "awb（スコットランド英語・男声）"},
    {"kal16", "kal16（アメリカ英語・男声）"},
    {"slt", "slt（アメリカ英語・女声）"},
    {"kal", "kal（アメリカ英語・男声・電話の音質）"},
}};

const QString kIdPrefix = QStringLiteral("flite-");
const QString kSettingKey = QStringLiteral("speech/voice");

// The voice of that id while it is available; otherwise the default voice.
QString availableOrDefault(const QString& id) {
    const QList<Voice> voices = availableVoices();
    for (const Voice& voice : voices)
        if (voice.id == id)
            return id;
    return voices.constFirst().id;
}

} // namespace

QList<Voice> availableVoices() {
    QList<Voice> voices;
    const QStringList builtIn = FliteVoice::names();
    for (const OwnVoice& own : kOwnVoices) {
        const QString name = QString::fromLatin1(own.name);
        if (builtIn.contains(name))
            voices.append({kIdPrefix + name, QString::fromUtf8(own.caption)});
    }
    voices.append({speechServiceVoiceId(), QStringLiteral("システムの音声サービス")});
    return voices;
}

QString defaultVoiceId() { return availableVoices().constFirst().id; }

QString speechServiceVoiceId() { return QStringLiteral("speech-service"); }

SpeechEngineFactory voiceEngineFactory(const QString& id) {
    const QString chosen = availableOrDefault(id);
    // The speech service only when chosen, or for a word that finds no sound device:
    // starting it costs seconds of work, and a service of its own.
    const auto ownVoice = [](const QString& name,
                             SpeechEngineFactory fallback) -> std::unique_ptr<SpeechEngine> {
        FliteVoice* voice = FliteVoice::find(name);
        if (!voice)
            return fallback ? fallback() : nullptr;
        return std::make_unique<RenderingSpeechEngine>(
            [voice](const QString& text) { return voice->render(text); }, makeSystemSoundOutput(),
            std::move(fallback));
    };
    if (chosen == speechServiceVoiceId())
        return [ownVoice]() -> std::unique_ptr<SpeechEngine> {
            if (auto service = makeSpeechServiceEngine())
                return service;
            return ownVoice(defaultVoiceId().mid(kIdPrefix.size()), {});
        };
    const QString name = chosen.mid(kIdPrefix.size());
    return [ownVoice, name] { return ownVoice(name, makeSpeechServiceEngine); };
}

QString VoiceSetting::defaultFile() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("veltyping.conf"));
}

VoiceSetting::VoiceSetting(QString file) : file_(std::move(file)) {}

QString VoiceSetting::voice() const {
    return availableOrDefault(QSettings(file_, QSettings::IniFormat).value(kSettingKey).toString());
}

bool VoiceSetting::setVoice(const QString& id) {
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(kSettingKey, id);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace platform
