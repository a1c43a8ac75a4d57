#pragma once

#include "session/class_choice.h"

#include <QComboBox>

namespace mainwin {

// The main window's class box, classBox_: the book's classes, then the reviews of the
// weak words and of the due words. The learner chooses from its list or types a class's name.
class ClassBox : public QComboBox {
    Q_OBJECT

public:
    explicit ClassBox(QWidget* parent = nullptr);

    // Lists the classes and the reviews after them, showing `current`.
    void showClasses(const QStringList& names, const QString& current);
    // What the box holds now: the review while its entry is chosen, else the first entry
    // of the text shown (a class before the review), else a class that is not in the book.
    session::ClassChoice choice() const;
};

} // namespace mainwin
