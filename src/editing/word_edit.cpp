#include "word_edit.h"

#include "book/book.h"
#include "book/cp932.h"
#include "book/word_list.h"

#include <cmath>

namespace editing {

namespace {

// Far enough out that header + ID can never overflow, and past any book's end.
constexpr double kIdLimit = 1'000'000;

} // namespace

std::optional<int> parseWordId(const QString& text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::abs(value) > kIdLimit)
        return std::nullopt;
    return int(std::floor(value));
}

int classHeaderByName(const book::RecordFile& file, const QString& className) {
    const int eof = book::findEndRecord(file).record;
    const auto classIndex = book::findClassByName(file, eof, className);
    return classIndex ? book::classHeaderRecord(*classIndex) : 0;
}

std::optional<book::WordRecord> recordToShow(const book::RecordFile& file, const QString& className,
                                             const QString& idText) {
    const auto id = parseWordId(idText);
    if (!id)
        return std::nullopt;
    const int target = classHeaderByName(file, className) + *id;
    return target >= 1 ? file.read(target).trimmed() : book::WordRecord{};
}

std::optional<SearchHit> searchTranslation(const book::RecordFile& file, const QString& english,
                                           const QString& japanese) {
    const int eof = book::findEndRecord(file).record;
    for (int r = 1; r < eof; ++r) {
        const book::WordRecord record = file.read(r).trimmed();
        const bool byEnglish = record.english == english;
        if (!byEnglish && record.japanese != japanese)
            continue;
        const int classIndex = book::classOfRecord(r);
        const QString className = file.read(book::classHeaderRecord(classIndex)).trimmed().japanese;
        return SearchHit{byEnglish, record.english, record.japanese, className,
                         r - book::classHeaderRecord(classIndex)};
    }
    return std::nullopt;
}

WordUpdate updateWord(book::RecordFile& file, const QString& className, const QString& idText,
                      const QString& english, const QString& japanese) {
    const int header = classHeaderByName(file, className);
    if (header == 0)
        return {QStringLiteral("指定した単語クラスが見つかりません。")};
    const auto id = parseWordId(idText);
    if (!id || *id < 1 || *id > book::kWordsPerClass)
        return {QStringLiteral("IDには1から50までの数字を指定して下さい。")};
    // Compare what will be stored, so that a blank at either end cannot slip a duplicate past.
    const QString newEnglish = book::trimBlanks(english);
    const QString newJapanese = book::trimBlanks(japanese);
    if (newEnglish.isEmpty() || newJapanese.isEmpty())
        return {QStringLiteral("英語と日本語の両方を入力して下さい。")};
    // A pasted tab or line end would make the book one that velbook and the lists refuse.
    if (const book::Reason why = book::controlCharacterProblem(newEnglish + newJapanese);
        !why.isEmpty())
        return {why.japanese};

    const int target = header + *id;
    for (int r = header + 1; r <= header + book::kWordsPerClass; ++r) {
        const book::WordRecord word = file.read(r).trimmed();
        if (word.english == newEnglish) {
            if (file.read(target).trimmed().english != newEnglish)
                return {QStringLiteral("指定した英単語はすでに登録されています。")};
        } else if (word.japanese == newJapanese) {
            if (file.read(target).trimmed().japanese != newJapanese)
                return {QStringLiteral("指定した日本語はすでに登録されています。")};
        }
    }
    const book::WriteStatus status = file.write(target, {target, newEnglish, newJapanese, {}});
    return {writeFailureText(status), status};
}

QString writeFailureText(book::WriteStatus status) {
    switch (status) {
    case book::WriteStatus::Ok:
        return {};
    case book::WriteStatus::TooLong:
        return book::slotErrorText(book::SlotError::TooLong);
    case book::WriteStatus::NotEncodable:
        return book::slotErrorText(book::SlotError::NotEncodable);
    case book::WriteStatus::BadRecordNumber:
    case book::WriteStatus::IoError:
    case book::WriteStatus::NotAtPath:
        break;
    }
    return QStringLiteral("単語帳に書き込めませんでした。");
}

} // namespace editing
