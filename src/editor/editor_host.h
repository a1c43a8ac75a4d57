#pragma once

#include <QString>
#include <QStringList>

namespace editor {

// What the editor window asks of the main window. The editor keeps no book state of its
// own: it reads the book afresh in every handler and lets the main window follow along.
class EditorHost {
public:
    virtual ~EditorHost() = default;

    // Puts the name into the class list and runs its click, so that the main display
    // shows that class's word list.
    virtual void showClassWords(const QString& className) = 0;
    // Refills the class list after a rename, showing `current`, without running its click.
    virtual void setClassList(const QStringList& names, const QString& current) = 0;
    // The editor has closed: the commands locked while it was open become usable again.
    virtual void editorClosed() = 0;
};

} // namespace editor
