// The File menu's command that saves the book as a word list for spreadsheets.
#include "frm_main.h"

#include "platform/dialogs.h"
#include "session/failure_text.h"

#include <QDir>
#include <QRegularExpression>

namespace mainwin {

namespace {

const QString kListFileFilter = QStringLiteral("単語リスト (*.csv)");

// The book's title as a file name: characters no file name may hold become '_'.
QString fileNameFromTitle(const QString& title) {
    static const QRegularExpression notInFileNames(QStringLiteral(R"([\\/:*?"<>|\x00-\x1f])"));
    const QString name = QString(title).replace(notInFileNames, QStringLiteral("_"));
    return name.isEmpty() ? QStringLiteral("単語リスト") : name;
}

} // namespace

void FrmMain::saveBookAsList() {
    const QString proposal =
        QDir::current().filePath(fileNameFromTitle(bookTitle()) + QStringLiteral(".csv"));
    const auto chosen = dialogs().saveFileName(this, kListFileFilter, proposal);
    if (!chosen)
        return;
    if (const QString target = saveTarget(*chosen, QStringLiteral(".csv")); !target.isEmpty())
        session_->saveBookAsList(target);
}

} // namespace mainwin
