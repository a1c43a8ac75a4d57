#pragma once

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>
#include <QWidget>

namespace testsupport {

// Where a key goes: the open popup list while there is one, else the focused widget.
inline QWidget* keyTarget() {
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup->focusWidget() ? popup->focusWidget() : popup;
    QWidget* focused = QApplication::focusWidget();
    if (!focused)
        qFatal("no widget has the keyboard focus");
    return focused;
}

inline void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(keyTarget(), key, modifiers);
}

// Types as a learner does: ASCII as key presses, anything else (Japanese) as text the
// input method commits.
inline void typeText(const QString& text) {
    for (qsizetype start = 0; start < text.size();) {
        const bool ascii = text[start].unicode() < 0x80;
        qsizetype end = start;
        while (end < text.size() && (text[end].unicode() < 0x80) == ascii)
            ++end;
        const QString run = text.mid(start, end - start);
        if (ascii) {
            QTest::keyClicks(keyTarget(), run);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(run);
            QCoreApplication::sendEvent(keyTarget(), &commit);
        }
        start = end;
    }
}

// Clicks into a field and types over what it holds.
inline void typeInto(QWidget* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton);
    pressKey(Qt::Key_A, Qt::ControlModifier);
    typeText(text);
}

} // namespace testsupport
