#pragma once

#include <QString>

namespace mainwin {

// The learner's target retention for 「今日の復習」, kept in the program's own settings
// file beside the chosen voice (the word book holds no such setting).
class RetentionSetting {
public:
    explicit RetentionSetting(QString file);
    // The stored target while it is one the program offers; otherwise the default, 90 %.
    double retention() const;
    // Keeps the target; false when it could not be written.
    bool setRetention(double target);
    const QString& file() const { return file_; }

private:
    QString file_;
};

} // namespace mainwin
