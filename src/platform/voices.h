#pragma once

#include "speech_engine.h"

#include <QList>
#include <QString>

namespace platform {

// A voice the learner can choose: the program's own English voices, clearest first, and
// last the system's speech service.
struct Voice {
    QString id;      // kept in the settings
    QString caption; // shown in the voice menu
};

QList<Voice> availableVoices();
// The clearest voice: the first of availableVoices().
QString defaultVoiceId();
// The id of the system's speech service.
QString speechServiceVoiceId();

// Makes the engine of the voice; an unknown id gives the default voice. A voice of the
// program's own needs a sound device: a word that finds none is said by the speech service.
// The speech service, chosen but not there, gives the default voice.
SpeechEngineFactory voiceEngineFactory(const QString& id);

// The learner's choice of voice, kept in the program's own settings file (not in the word
// book, whose voice ON/OFF record is another matter).
class VoiceSetting {
public:
    // The file in the user's configuration folder.
    static QString defaultFile();

    explicit VoiceSetting(QString file = defaultFile());
    // The stored choice while it is still available; otherwise the default voice.
    QString voice() const;
    // Keeps the choice; false when it could not be written.
    bool setVoice(const QString& id);
    const QString& file() const { return file_; }

private:
    QString file_;
};

} // namespace platform
