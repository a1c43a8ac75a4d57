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
// old Mac spreadsheets end them), numbered from 1. The line ends are found by Qt's searches,
// not byte by byte.
template <typename Each> void forEachLine(QByteArrayView bytes, Each each) {
    qsizetype nextCr = bytes.indexOf('\r');
    qsizetype start = 0;
    for (int number = 1;; ++number) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        qsizetype next = end + 1;
        if (nextCr >= 0 && nextCr < start)
            nextCr = bytes.indexOf('\r', start);
        if (nextCr >= 0 && nextCr < end) {
            next =
                nextCr + 1 < bytes.size() && bytes.at(nextCr + 1) == '\n' ? nextCr + 2 : nextCr + 1;
            end = nextCr;
        }
        each(bytes.sliced(start, end - start), number);
        if (end == bytes.size())
            return;
        start = next;
    }
}

bool isAscii(QByteArrayView line) {
    return std::all_of(line.data(), line.data() + line.size(),
                       [](char c) { return uchar(c) < 0x80; });
}

QString decodeUtf8(QByteArrayView bytes) {
    // A byte order mark inside the list is a character, not something to drop.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

// How many of the lines that hold a byte beyond ASCII read as UTF-8, and how many of the
// others read as CP932.
struct LineCounts {
    qsizetype beyondAscii = 0;
    qsizetype utf8 = 0;
    qsizetype cp932 = 0;

    explicit LineCounts(QByteArrayView bytes) {
        forEachLine(bytes, [this](QByteArrayView line, int) {
            if (!line.isValidUtf8()) {
                ++beyondAscii;
                cp932 += isExactCp932(line);
            } else if (!isAscii(line)) {
                ++beyondAscii;
                ++utf8;
            }
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
    if (bytes.isValidUtf8()) {
        list.text = decodeUtf8(bytes);
    } else {
        const LineCounts counts(bytes);
        list.encoding = byteOrderMark ? ListEncoding::Utf8 : counts.encoding();
        // A list none of whose lines reads is in another encoding altogether.
        list.brokenLineReason = counts.utf8 + counts.cp932 == 0       ? kNeither
                                : list.encoding == ListEncoding::Utf8 ? kNotUtf8
                                                                      : kNotCp932;
        if (list.encoding == ListEncoding::Utf8) {
            forEachLine(bytes, [&list](QByteArrayView line, int number) {
                if (!line.isValidUtf8())
                    list.brokenLines.append(number);
            });
            // Line ends are ASCII: no bad byte can hide one or make one.
            list.text = decodeUtf8(bytes);
        } else {
            list.text.reserve(bytes.size());
            forEachLine(bytes, [&list](QByteArrayView line, int number) {
                if (number > 1)
                    list.text += u'\n';
                if (!appendCp932Exactly(list.text, line)) {
                    list.brokenLines.append(number);
                    appendCp932(list.text, line);
                }
            });
            return list;
        }
    }
    list.text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    return list;
}

} // namespace book
