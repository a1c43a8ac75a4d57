#include "failure_text.h"

#include <QFileInfo>

namespace folder {

QString failureText(const book::FileFailure& failure, const QString& path) {
    using Kind = book::FileFailure::Kind;
    switch (failure.kind) {
    case Kind::NotFound:
        return QStringLiteral("ファイルが見つかりません。");
    case Kind::NotRegular:
        return QFileInfo(path).isDir()
                   ? QStringLiteral("ファイルではなく、フォルダです。")
                   : QStringLiteral("通常のファイルではありません（FIFO やデバイスなど）。");
    case Kind::TooLarge:
        return QStringLiteral("単語帳としては大きすぎるファイルです。");
    case Kind::DiskFull:
        return QStringLiteral("ディスクの空き容量が足りません。");
    case Kind::Denied:
        return QStringLiteral("ファイルまたはフォルダへのアクセスが許可されていません。");
    case Kind::Other:
        break;
    }
    return failure.systemText.isEmpty()
               ? QStringLiteral("原因は分かりません。")
               : QStringLiteral("システムの報告: %1").arg(failure.systemText);
}

QString obsoleteBookMessage() {
    return QStringLiteral("単語帳ファイルが不正です。\r\n") + kHomePageUrl +
           QStringLiteral("より、\r\n単語帳の最新版を入手して下さい。");
}

} // namespace folder
