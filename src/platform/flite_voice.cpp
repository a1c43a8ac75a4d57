#include "flite_voice.h"

#include <QLibrary>
#include <QMutex>

#include <map>
#include <memory>

extern "C" {
#include <flite/flite.h>
}

namespace platform {

namespace {

// flite and its voices are loaded when a voice is first needed, and only that voice: each
// voice library is megabytes of tables that the dynamic linker would otherwise relocate,
// and keep in memory, at every start.
constexpr int kFliteSoVersion = 1;

const QStringList kVoiceNames{QStringLiteral("rms"), QStringLiteral("slt"), QStringLiteral("awb"),
                              QStringLiteral("kal16"), QStringLiteral("kal")};

// The synthesiser's own functions, from the library the voices load with them.
struct Flite {
    decltype(&flite_text_to_wave) textToWave = nullptr;
    decltype(&delete_wave) deleteWave = nullptr;
};

// Loaded once, kept for the life of the process; null when flite is not installed.
const Flite* flite() {
    static const std::unique_ptr<Flite> loaded = []() -> std::unique_ptr<Flite> {
        QLibrary library(QStringLiteral("flite"), kFliteSoVersion);
        library.setLoadHints(QLibrary::PreventUnloadHint);
        const auto init = reinterpret_cast<decltype(&flite_init)>(library.resolve("flite_init"));
        auto found = std::make_unique<Flite>();
        found->textToWave =
            reinterpret_cast<decltype(&flite_text_to_wave)>(library.resolve("flite_text_to_wave"));
        found->deleteWave =
            reinterpret_cast<decltype(&delete_wave)>(library.resolve("delete_wave"));
        if (!init || !found->textToWave || !found->deleteWave)
            return nullptr;
        init();
        return found;
    }();
    return loaded.get();
}

// flite keeps global state: one caller at a time, whichever thread it is on.
QMutex& fliteMutex() {
    static QMutex mutex;
    return mutex;
}

} // namespace

QStringList FliteVoice::names() { return kVoiceNames; }

FliteVoice* FliteVoice::find(const QString& name) {
    QMutexLocker lock(&fliteMutex());
    static std::map<QString, std::unique_ptr<FliteVoice>> loaded;
    if (auto found = loaded.find(name); found != loaded.end())
        return found->second.get();
    if (!kVoiceNames.contains(name) || !flite())
        return nullptr;
    QLibrary library(QStringLiteral("flite_cmu_us_") + name, kFliteSoVersion);
    library.setLoadHints(QLibrary::PreventUnloadHint);
    using Register = cst_voice* (*)(const char* voxdir);
    const auto load = reinterpret_cast<Register>(
        library.resolve(QByteArray("register_cmu_us_" + name.toLatin1()).constData()));
    cst_voice* voice = load ? load(nullptr) : nullptr;
    if (!voice)
        return nullptr;
    auto& slot = loaded[name];
    slot.reset(new FliteVoice(voice));
    return slot.get();
}

Pcm FliteVoice::render(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    if (bytes.trimmed().isEmpty())
        return {};
    QMutexLocker lock(&fliteMutex());
    cst_wave* wave = flite()->textToWave(bytes.constData(), static_cast<cst_voice*>(voice_));
    Pcm pcm;
    if (wave && wave->num_channels == 1 && wave->num_samples > 0) {
        pcm.sampleRate = wave->sample_rate;
        pcm.samples = QByteArray(reinterpret_cast<const char*>(wave->samples),
                                 qsizetype(wave->num_samples) * 2);
    }
    flite()->deleteWave(wave);
    return pcm.withoutSilenceAround();
}

} // namespace platform
