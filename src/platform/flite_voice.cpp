#include "flite_voice.h"

#include <QMutex>

#include <array>
#include <map>
#include <memory>

extern "C" {
#include <flite/flite.h>

cst_voice* register_cmu_us_rms(const char* voxdir);
cst_voice* register_cmu_us_slt(const char* voxdir);
cst_voice* register_cmu_us_awb(const char* voxdir);
cst_voice* register_cmu_us_kal16(const char* voxdir);
cst_voice* register_cmu_us_kal(const char* voxdir);
}

namespace platform {

namespace {

struct BuiltInVoice {
    const char* name;
    cst_voice* (*load)(const char*);
};

constexpr std::array<BuiltInVoice, 5> kVoices{{{"rms", register_cmu_us_rms},
                                               {"slt", register_cmu_us_slt},
                                               {"awb", register_cmu_us_awb},
                                               {"kal16", register_cmu_us_kal16},
                                               {"kal", register_cmu_us_kal}}};

// flite keeps global state: one caller at a time, whichever thread it is on.
QMutex& fliteMutex() {
    static QMutex mutex;
    return mutex;
}

} // namespace

QStringList FliteVoice::names() {
    QStringList names;
    for (const BuiltInVoice& voice : kVoices)
        names << QString::fromLatin1(voice.name);
    return names;
}

FliteVoice* FliteVoice::find(const QString& name) {
    QMutexLocker lock(&fliteMutex());
    static std::map<QString, std::unique_ptr<FliteVoice>> loaded;
    if (auto found = loaded.find(name); found != loaded.end())
        return found->second.get();
    for (const BuiltInVoice& builtIn : kVoices) {
        if (name != QLatin1StringView(builtIn.name))
            continue;
        static const bool initialised = (flite_init(), true);
        Q_UNUSED(initialised);
        cst_voice* voice = builtIn.load(nullptr);
        if (!voice)
            return nullptr;
        auto& slot = loaded[name];
        slot.reset(new FliteVoice(voice));
        return slot.get();
    }
    return nullptr;
}

Pcm FliteVoice::render(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    if (bytes.trimmed().isEmpty())
        return {};
    QMutexLocker lock(&fliteMutex());
    cst_wave* wave = flite_text_to_wave(bytes.constData(), static_cast<cst_voice*>(voice_));
    Pcm pcm;
    if (wave && wave->num_channels == 1 && wave->num_samples > 0) {
        pcm.sampleRate = wave->sample_rate;
        pcm.samples = QByteArray(reinterpret_cast<const char*>(wave->samples),
                                 qsizetype(wave->num_samples) * 2);
    }
    delete_wave(wave);
    return pcm.withoutSilenceAround();
}

} // namespace platform
