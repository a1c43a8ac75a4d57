#include "grade_view.h"

#include "book/record_map.h"

#include <QLocale>

#include <cmath>

namespace views {

namespace {

const QString kColon = QStringLiteral("：\u3000");
const std::array<QString, 3> kHeadings{QStringLiteral("・リーディング編"),
                                       QStringLiteral("・ライティング編"),
                                       QStringLiteral("・リスニング編")};

QString label(const char* name) { return QStringLiteral("  ") + QString::fromUtf8(name) + kColon; }

} // namespace

QString decimalNumber(double value) {
    const double rounded = std::nearbyint(value * 10000.0) / 10000.0;
    QString text = QString::number(rounded, 'f', 4);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    if (text == u"-0")
        text = QStringLiteral("0");
    return text.replace(u'.', QLocale::system().decimalPoint());
}

QStringList gradeTableLines(const book::RecordFile& file, int eofRecord) {
    auto count = [&](book::Trailer which, int mode) -> int {
        return eofRecord > 0 ? file.read(book::trailerRecord(eofRecord, which)).modeCount[mode] : 0;
    };
    QStringList lines{QString()};
    for (int m = 0; m < book::kModeCount; ++m) {
        const int seconds = count(book::Trailer::StudyTime, m);
        const int memorised = count(book::Trailer::MemorisedTotal, m);
        const int repetitions = count(book::Trailer::Repetition, m);
        lines << kHeadings[m]
              << label("学習時間") + decimalNumber(seconds / 60.0) + QStringLiteral(" 分")
              << label("学習回数") + QString::number(count(book::Trailer::Speed, m))
              << label("記憶単語総数") + QString::number(memorised)
              << label("失念単語総数") + QString::number(count(book::Trailer::ForgottenTotal, m))
              << label("記憶クラス数") + QString::number(count(book::Trailer::MemorisedClasses, m))
              << label("所要反復回数") + (memorised == 0
                                              ? QStringLiteral("0")
                                              : decimalNumber(double(repetitions) / memorised))
              << label("所要反復時間") +
                     (memorised == 0 ? QStringLiteral("0")
                                     : decimalNumber(double(seconds) / memorised)) +
                     QStringLiteral(" 秒／単語")
              << QStringLiteral("\u3000") << QStringLiteral("\u3000");
    }
    return lines;
}

} // namespace views
