#include "speech.h"

#include <QLocale>
#include <QTextToSpeech>

namespace platform {

Speech::Speech(QObject* parent) : QObject(parent) {}

void Speech::prepare() {
    if (engine_)
        return;
    engine_ = new QTextToSpeech(this);
    if (engine_->state() == QTextToSpeech::Error &&
        QTextToSpeech::availableEngines().contains(QStringLiteral("flite"))) {
        delete engine_;
        engine_ = new QTextToSpeech(QStringLiteral("flite"), this);
    }
    engine_->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
}

void Speech::speak(const QString& text) {
    prepare();
    if (engine_->state() != QTextToSpeech::Error)
        engine_->say(text);
}

} // namespace platform
