#pragma once

#include <QList>
#include <QString>

namespace dictionary {

enum class Inflection { Plural, Past, Progressive, Adverb };

struct BaseForm {
    QString word;
    Inflection inflection;
};

// The words an English word may be a simple inflection of (a plural, -ed, -ing, -ly),
// most likely first: "stopped" → "stopp", "stop", "stoppe"; only spelling is used, so
// most of them are no words at all and a dictionary decides.
QList<BaseForm> baseForms(const QString& word);

} // namespace dictionary
