#pragma once

#include <QObject>
#include <QString>

class QTextToSpeech;

namespace platform {

// Pronounces English words with the system's speech service, or the in-process engine
// when the service cannot start. The engine is made on first use, so it never slows
// the start of the program; a request returns at once and never reports a failure.
class Speech : public QObject {
public:
    explicit Speech(QObject* parent = nullptr);
    void speak(const QString& text);
    // Makes the engine now (called once the window is shown), if not done yet.
    void prepare();

private:
    QTextToSpeech* engine_ = nullptr;
};

} // namespace platform
