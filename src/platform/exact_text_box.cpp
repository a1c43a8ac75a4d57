#include "exact_text_box.h"

#include <QComboBox>
#include <QLineEdit>

namespace platform {

void makeExactTextBox(QComboBox* box) {
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // Completion would turn "クラス1" into "クラス10", and Qt's default one ignores case.
    box->setCompleter(nullptr);
    // Qt takes a typed text that matches an entry as chosen when the line edit finishes
    // editing (the box losing the focus, Enter), and then emits `activated` for it.
    QObject::disconnect(box->lineEdit(), &QLineEdit::editingFinished, box, nullptr);
}

} // namespace platform
