#include "search_view.h"

#include "book/record_map.h"

namespace views {

SearchView buildSearchView(const book::RecordFile& file, int eofRecord, const QString& text) {
    SearchView view;
    view.lines << QStringLiteral("\u3000");
    for (int r = 1; r < eofRecord; ++r) {
        const book::WordRecord record = file.read(r).trimmed();
        const bool englishHit = record.english == text;
        if (!englishHit && record.japanese != text)
            continue;
        const QString className =
            file.read(book::classHeaderRecord(book::classOfRecord(r))).trimmed().japanese;
        const QString where = QStringLiteral("  [") + className + u']';
        view.lines << (englishHit ? QStringLiteral(" ・ ") + record.english + QStringLiteral("  ") +
                                        record.japanese + where
                                  : QStringLiteral("  ・") + record.japanese +
                                        QStringLiteral("  ") + record.english + where)
                   << QStringLiteral(" ");
        ++view.hits;
    }
    if (view.hits == 0)
        view.lines << QStringLiteral("   検索文字列は見つかりません。");
    view.lines << QStringLiteral("    \u3000");
    return view;
}

} // namespace views
