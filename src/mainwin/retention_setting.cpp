#include "retention_setting.h"

#include "memory/due_words.h"

#include <QSettings>

#include <algorithm>
#include <cmath>

namespace mainwin {

namespace {

// Kept in whole per cent, so that the file reads as the menu does and compares exactly.
const QString kSettingKey = QStringLiteral("review/target_retention_percent");

int percent(double target) { return int(std::lround(target * 100)); }

} // namespace

RetentionSetting::RetentionSetting(QString file) : file_(std::move(file)) {}

double RetentionSetting::retention() const {
    bool ok = false;
    const int stored = QSettings(file_, QSettings::IniFormat).value(kSettingKey).toInt(&ok);
    const auto& offered = memory::kTargetRetentions;
    const auto found = std::find_if(offered.begin(), offered.end(),
                                    [stored](double target) { return percent(target) == stored; });
    return ok && found != offered.end() ? *found : memory::kDefaultTargetRetention;
}

bool RetentionSetting::setRetention(double target) {
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(kSettingKey, percent(target));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace mainwin
