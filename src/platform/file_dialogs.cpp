#include "file_dialogs.h"

#include <QFileDialog>
#include <QQueue>
#include <QStringList>

namespace platform {

namespace {

struct Script {
    bool enabled = false;
    QQueue<QString> paths;
};

Script& script() {
    static Script instance;
    return instance;
}

QString scriptedPath() {
    return script().paths.isEmpty() ? kDialogCancelled.toString() : script().paths.dequeue();
}

} // namespace

QString qtFilterFromPairs(const QString& filter) {
    const QStringList parts = filter.split(QChar(u'\0'), Qt::SkipEmptyParts);
    QStringList lines;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString& pattern = parts[i + 1];
        // Qt reads the patterns from the parentheses; add them when the description lacks them.
        lines << (description.contains(u'(') ? description
                                             : description + QStringLiteral(" (") + pattern + u')');
    }
    return lines.join(u";;");
}

QString ShowOpenDialog(QWidget* owner, const QString& filter, const QString& initialDir) {
    if (script().enabled)
        return scriptedPath();
    const QString path = QFileDialog::getOpenFileName(owner, QStringLiteral("ｳﾞｪﾙﾌｧｲﾙを開く"),
                                                      initialDir, qtFilterFromPairs(filter));
    return path.isEmpty() ? kDialogCancelled.toString() : path;
}

QString ShowSaveDialog(QWidget* owner, const QString& filter, const QString& initialDir) {
    if (script().enabled)
        return scriptedPath();
    const QString path =
        QFileDialog::getSaveFileName(owner, QString(), initialDir, qtFilterFromPairs(filter));
    return path.isEmpty() ? kDialogCancelled.toString() : path;
}

namespace testing {

void enableScriptedDialogs() { script().enabled = true; }

void queueDialogPath(const QString& path) { script().paths.enqueue(path); }

} // namespace testing

} // namespace platform
