#include "manual_view.h"

namespace mainwin {

QStringList manualLines(const QString& homePageUrl) {
    return {
        QStringLiteral(" "),
        QStringLiteral(" "),
        QStringLiteral(" 以下の手順を参考に、ご自由にお楽しみ下さい。"),
        QStringLiteral(" "),
        QStringLiteral(" 手順①（リーディングを選択した場合）："),
        QStringLiteral("  1. 開始ボタンをクリックする。"),
        QStringLiteral("  2. 表示中の単語を選択する。"),
        QStringLiteral("  3. ？が表示された後、その和訳を選択する。"),
        QStringLiteral("  4. 和訳が分からない場合は、？を選択する。"),
        QStringLiteral("  5. 1～4まで繰り返して、リーティングの学習を行って下さい。"),
        QStringLiteral(" "),
        QStringLiteral(" 手順②（ライティングを選択した場合）："),
        QStringLiteral("  1. 開始ボタンをクリックする。"),
        QStringLiteral("  2. 表示中の単語を選択する。"),
        QStringLiteral("  3. ？が表示された後、その英訳を選択する。"),
        QStringLiteral("  4. 英訳が分からない場合は、？を選択する。"),
        QStringLiteral("  5. 1～4まで繰り返して、ライティングの学習を行って下さい。"),
        QStringLiteral(" "),
        QStringLiteral(" 手順③（リスニングを選択した場合）："),
        QStringLiteral("  1. 開始ボタンをクリックする。"),
        QStringLiteral("  2. ？マークが表示されたら、Enterを押す。"),
        QStringLiteral("  3. 単語の発声を聞き取り、その和訳を選択する。"),
        QStringLiteral("  4. 和訳が分からない場合は、？を選択する。"),
        QStringLiteral("  5. 1～4まで繰り返して、リスニングの学習を行って下さい。"),
        QStringLiteral(" "),
        QStringLiteral(" ※1 学習済みの単語は、表示メニューの単語帳から確認できます。"),
        QStringLiteral(" ※2 この他にTOEIC、TOEFL、大学受験向けの単語帳を用意しています。"),
        QStringLiteral(" \u3000\u3000下のURLよりダウンロードしてご利用ください。"),
        QStringLiteral(" "),
        QStringLiteral(" \u3000\u3000") + homePageUrl,
    };
}

} // namespace mainwin
