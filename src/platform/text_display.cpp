#include "text_display.h"

#include "book/text_file.h"

#include <QFileInfo>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace platform {

QString readTextFile(const QString& path) {
    if (!QFileInfo(path).isFile())
        return {};
    return book::readCp932File(path);
}

void showText(QPlainTextEdit* box, const QString& text) {
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box->setPlainText(plain);
}

int lineCount(const QPlainTextEdit* box) { return box->document()->blockCount(); }

int scrollLines(QPlainTextEdit* box, int lines) {
    // A plain text box scrolls by whole lines: its scroll bar counts lines.
    QScrollBar* bar = box->verticalScrollBar();
    const int before = bar->value();
    bar->setValue(before + lines);
    return bar->value() - before;
}

} // namespace platform
