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

// Calls each(line, number) for the lines of the bytes, split at CR LF, LF or a lone CR (as
// old Mac spreadsheets end them), numbered from 1.
template <typename Each> void forEachLine(QByteArrayView bytes, Each each) {
    int number = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r')
            continue;
        each(bytes.sliced(start, i - start), ++number);
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    each(bytes.sliced(start), ++number);
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

    explicit LineCounts(QByteArrayView bytes) {
        forEachLine(bytes, [this](QByteArrayView line, int) {
            if (isAscii(line))
                return;
            ++beyondAscii;
            if (line.isValidUtf8())
                ++utf8;
            else if (decodeCp932Exactly(line))
                ++cp932;
        });
    }
    // The rule of decodeList. A line that reads as both counts for UTF-8 alone.
    ListEncoding encoding() const {
        return cp932 > utf8 && utf8 * 2 <= beyondAscii ? ListEncoding::Cp932 : ListEncoding::Utf8;
    }
};

} // namespace

ListText decodeList(QByteArrayView bytes) {
    ListText list;
    const bool byteOrderMark = bytes.startsWith("\xEF\xBB\xBF");
    if (byteOrderMark) {
        bytes = bytes.sliced(3);
    } else if (startsWithWideByteOrderMark(bytes)) {
        list.refusal = kUtf16;
        return list;
    }
    // The usual list, valid UTF-8 as a whole, needs no look at its lines.
    if (!bytes.isValidUtf8()) {
        const LineCounts counts(bytes);
        list.encoding = byteOrderMark ? ListEncoding::Utf8 : counts.encoding();
        // A list none of whose lines reads is in another encoding altogether.
        list.brokenLineReason = counts.utf8 + counts.cp932 == 0       ? kNeither
                                : list.encoding == ListEncoding::Utf8 ? kNotUtf8
                                                                      : kNotCp932;
        forEachLine(bytes, [&list](QByteArrayView line, int number) {
            if (!isAscii(line) &&
                !(list.encoding == ListEncoding::Utf8 ? line.isValidUtf8()
                                                      : decodeCp932Exactly(line).has_value()))
                list.brokenLines.append(number);
        });
    }
    // Line ends are ASCII in both encodings: no bad byte can hide one or make one.
    list.text = list.encoding == ListEncoding::Utf8 ? decodeUtf8(bytes) : decodeCp932(bytes);
    unifyLineEnds(list.text);
    return list;
}

} // namespace book
