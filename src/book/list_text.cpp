#include "list_text.h"

#include "cp932.h"

#include <QStringDecoder>

#include <algorithm>

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

QString decodeUtf8(QByteArrayView bytes) {
    // A byte order mark inside the list is a character, not something to drop.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

// CR LF and lone CRs made '\n', in place.
void unifyLineEnds(QString& text) {
    if (!text.contains(u'\r'))
        return;
    QChar* out = text.data();
    const QChar* end = text.constData() + text.size();
    for (const QChar* in = text.constData(); in != end; ++in) {
        if (*in == u'\r' && in + 1 != end && in[1] == u'\n')
            continue;
        *out++ = *in == u'\r' ? QChar(u'\n') : *in;
    }
    text.truncate(out - text.constData());
}

// How many of the lines that hold a byte beyond ASCII read as UTF-8, and how many of the
// others read as CP932.
struct LineCounts {
    qsizetype beyondAscii = 0;
    qsizetype utf8 = 0;
    qsizetype cp932 = 0;

    explicit LineCounts(const QList<QByteArrayView>& lines) {
        for (const QByteArrayView line : lines) {
            if (isAscii(line))
                continue;
            ++beyondAscii;
            if (line.isValidUtf8())
                ++utf8;
            else if (decodeCp932Exactly(line))
                ++cp932;
        }
    }
    // The rule of decodeList. A line that reads as both counts for UTF-8 alone.
    ListEncoding encoding() const {
        return cp932 > utf8 && utf8 * 2 <= beyondAscii ? ListEncoding::Cp932 : ListEncoding::Utf8;
    }
};

std::optional<QString> strictDecode(QByteArrayView line, ListEncoding encoding) {
    if (encoding == ListEncoding::Cp932)
        return decodeCp932Exactly(line);
    if (!line.isValidUtf8())
        return std::nullopt;
    return decodeUtf8(line);
}

} // namespace

ListText decodeList(QByteArrayView bytes) {
    ListText list;
    const bool byteOrderMark = bytes.startsWith("\xEF\xBB\xBF");
    if (byteOrderMark) {
        bytes = bytes.sliced(3);
    } else if (startsWithWideByteOrderMark(bytes)) {
        list.problems.append({0, kUtf16});
        return list;
    }
    // The usual list, valid UTF-8 as a whole, is decoded in one go.
    if (bytes.isValidUtf8()) {
        list.text = decodeUtf8(bytes);
        unifyLineEnds(list.text);
        return list;
    }
    const QList<QByteArrayView> lines = splitLines(bytes);
    const LineCounts counts(lines);
    list.encoding = byteOrderMark ? ListEncoding::Utf8 : counts.encoding();
    // A list none of whose lines reads is in another encoding altogether.
    const Reason& broken = counts.utf8 + counts.cp932 == 0       ? kNeither
                           : list.encoding == ListEncoding::Utf8 ? kNotUtf8
                                                                 : kNotCp932;
    QStringList texts;
    texts.reserve(lines.size());
    int lineNo = 0;
    for (const QByteArrayView line : lines) {
        ++lineNo;
        std::optional<QString> text = strictDecode(line, list.encoding);
        if (!text) {
            list.problems.append({lineNo, broken});
            text =
                list.encoding == ListEncoding::Utf8 ? QString::fromUtf8(line) : decodeCp932(line);
        }
        texts.append(*text);
    }
    list.text = texts.join(u'\n');
    return list;
}

} // namespace book
