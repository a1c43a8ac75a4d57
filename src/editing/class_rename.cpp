#include "class_rename.h"

#include "book/book.h"
#include "book/cp932.h"
#include "book/word_list.h"
#include "word_edit.h"

namespace editing {

namespace {

QString renameFailureText(book::WriteStatus status) {
    // The general text speaks of an English and a Japanese text; a header holds one name.
    if (status == book::WriteStatus::TooLong)
        return QStringLiteral("クラス名が長すぎます。");
    return writeFailureText(status);
}

} // namespace

RenameResult renameClass(book::RecordFile& file, const QString& oldName, const QString& newName) {
    const int eof = book::findEndRecord(file).record;
    const QString name = book::trimBlanks(newName);
    RenameResult result;
    auto listShowing = [&](int classIndex) {
        result.shownClass = classIndex;
        result.classNames = book::listClasses(file, eof);
        return result;
    };

    if (const auto existing = book::findClassByName(file, eof, name)) {
        result.refusal = QStringLiteral("指定したクラス名はすでに登録されています。");
        return listShowing(*existing);
    }
    if (const book::Reason why = book::controlCharacterProblem(name); !why.isEmpty()) {
        result.refusal = why.japanese;
        return result;
    }
    const auto renamed = book::findClassByName(file, eof, oldName);
    if (!renamed) {
        result.refusal = QStringLiteral("変更前のクラス名が見つかりません。");
        return result;
    }
    const int header = book::classHeaderRecord(*renamed);
    book::WordRecord record = file.read(header);
    record.japanese = name;
    record.modeCount[book::Reading] = 0;
    record.modeCount[book::Writing] = 0;
    result.status = file.write(header, record);
    result.refusal = renameFailureText(result.status);
    return listShowing(*renamed);
}

} // namespace editing
