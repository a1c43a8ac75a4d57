#include "list_text.h"

#include "cp932.h"

#include <QStringDecoder>

#include <optional>

namespace book {

namespace {

const Reason kUtf16{QStringLiteral("the file is UTF-16 or UTF-32 text; save the list as UTF-8 or "
                                   "Shift-JIS (CP932)"),
                    QStringLiteral("UTF-16 または UTF-32 のファイルは読めません。UTF-8 か "
                                   "Shift_JIS（CP932）で保存し直して下さい。")};
const Reason kNotUtf8{QStringLiteral("the line is not valid UTF-8"),
                      QStringLiteral("UTF-8 として読めない文字があります。")};
const Reason kNotCp932{QStringLiteral("the line is not valid Shift-JIS (CP932)"),
                       QStringLiteral("Shift_JIS（CP932）として読めない文字があります。")};
const Reason kNeither{QStringLiteral("the line is neither UTF-8 nor Shift-JIS (CP932) text"),
                      QStringLiteral("文字コードが UTF-8 でも Shift_JIS（CP932）でもありません。")};

bool startsWithWideByteOrderMark(QByteArrayView bytes) {
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") ||
           bytes.startsWith(QByteArrayView("\x00\x00\xFE\xFF", 4));
}

// The lines of the bytes, split at CR LF, LF or a lone CR (as old Mac spreadsheets end them).
QList<QByteArrayView> splitLines(QByteArrayView bytes) {
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r')
            continue;
        lines.append(bytes.sliced(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    lines.append(bytes.sliced(start));
    return lines;
}

bool isAscii(QByteArrayView line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return uchar(c) < 0x80; });
}

// The line as text, when it decodes without error and encodes back to the same bytes.
std::optional<QString> strictDecode(QByteArrayView line, ListEncoding encoding) {
    if (encoding == ListEncoding::Cp932)
        return decodeCp932Exactly(line);
    // A byte order mark inside the list is a character, not something to drop.
    const auto flags =
        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;
    QStringDecoder decoder(QStringConverter::Utf8, flags);
    QString text = decoder.decode(line);
    if (decoder.hasError() || text.toUtf8() != line)
        return std::nullopt;
    return text;
}

QString lossyDecode(QByteArrayView line, ListEncoding encoding) {
    return encoding == ListEncoding::Utf8 ? QString::fromUtf8(line) : decodeCp932(line);
}

} // namespace

ListText decodeList(QByteArrayView bytes) {
    ListText list;
    std::optional<ListEncoding> encoding;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        encoding = ListEncoding::Utf8;
        bytes = bytes.sliced(3);
    } else if (startsWithWideByteOrderMark(bytes)) {
        list.problems.append({0, kUtf16});
        return list;
    }
    // A list that is text as a whole in one of them is that: no single line decides.
    for (const ListEncoding candidate : {ListEncoding::Utf8, ListEncoding::Cp932}) {
        if (encoding && *encoding != candidate)
            continue;
        if (std::optional<QString> text = strictDecode(bytes, candidate)) {
            list.encoding = candidate;
            list.text =
                text->replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
            return list;
        }
    }
    // Otherwise the first line that is not ASCII decides, and each line that is no text in
    // that encoding is named.
    QStringList lines;
    int lineNo = 0;
    for (const QByteArrayView line : splitLines(bytes)) {
        ++lineNo;
        std::optional<QString> text;
        if (!encoding && !isAscii(line)) {
            for (const ListEncoding candidate : {ListEncoding::Utf8, ListEncoding::Cp932}) {
                if ((text = strictDecode(line, candidate))) {
                    encoding = candidate;
                    break;
                }
            }
        } else {
            text = strictDecode(line, encoding.value_or(ListEncoding::Utf8));
        }
        if (!text) {
            list.brokenLines.insert(lineNo);
            list.problems.append({lineNo, !encoding                         ? kNeither
                                          : *encoding == ListEncoding::Utf8 ? kNotUtf8
                                                                            : kNotCp932});
            text = lossyDecode(line, encoding.value_or(ListEncoding::Utf8));
        }
        lines.append(*text);
    }
    list.encoding = encoding.value_or(ListEncoding::Utf8);
    list.text = lines.join(u'\n');
    return list;
}

} // namespace book
