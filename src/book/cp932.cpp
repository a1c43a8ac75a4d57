#include "cp932.h"
#include "reused_converter.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QVarLengthArray>

namespace book {

namespace {

// One converter per thread: every slot read or written converts some text.
QStringEncoder& cp932Encoder() {
    thread_local ReusedConverter<QStringEncoder> encoder(kCodePage,
                                                         QStringConverter::Flag::Stateless);
    return encoder.ready();
}

QStringDecoder& cp932Decoder() {
    thread_local ReusedConverter<QStringDecoder> decoder(kCodePage);
    return decoder.ready();
}

} // namespace

std::optional<QByteArray> encodeCp932(QStringView text) {
    QStringEncoder& encoder = cp932Encoder();
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

namespace {

// Bytes of a short text, kept on the stack: checking a text costs no allocation.
using StackBytes = QVarLengthArray<char, 512>;

// Encodes the text into `bytes`; false when a character has no CP932 form.
bool encodeOnStack(QStringView text, StackBytes& bytes) {
    QStringEncoder& encoder = cp932Encoder();
    bytes.resize(encoder.requiredSpace(text.size()));
    bytes.resize(encoder.appendToBuffer(bytes.data(), text) - bytes.data());
    return !encoder.hasError();
}

// Whether the text, decoded from `bytes`, encodes back to the same bytes. A lead byte
// cut off at the end waits in the decoder without an error; the bytes encoded back then
// come out short.
bool encodesBackTo(QStringView text, QByteArrayView bytes) {
    StackBytes again;
    return encodeOnStack(text, again) && QByteArrayView(again.data(), again.size()) == bytes;
}

} // namespace

std::optional<qsizetype> cp932Size(QStringView text) {
    StackBytes bytes;
    if (!encodeOnStack(text, bytes))
        return std::nullopt;
    return bytes.size();
}

QByteArray encodeCp932Lossy(const QString& text) {
    if (auto whole = encodeCp932(text))
        return *whole;
    QByteArray bytes;
    for (int i = 0; i < text.size(); ++i) {
        const int width = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const auto one = encodeCp932(QStringView(text).sliced(i, width));
        bytes += one ? *one : QByteArray("?");
        i += width - 1;
    }
    return bytes;
}

namespace {

bool isLeadByte(uchar b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The byte length of the character that starts at i, by the lead-byte rule.
qsizetype characterWidth(QByteArrayView bytes, qsizetype i) {
    return isLeadByte(static_cast<uchar>(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
}

bool endsInLoneLeadByte(QByteArrayView bytes) {
    qsizetype i = 0;
    while (i < bytes.size()) {
        if (i + 1 == bytes.size())
            return isLeadByte(static_cast<uchar>(bytes[i]));
        i += characterWidth(bytes, i);
    }
    return false;
}

} // namespace

QString decodeCp932(QByteArrayView bytes) {
    QStringDecoder& whole = cp932Decoder();
    QString text = whole.decode(bytes);
    if (!whole.hasError() && !endsInLoneLeadByte(bytes))
        return text;

    // Damaged text: decode one character at a time so that a bad byte costs only itself.
    // Each character is decoded in place, as a string per character would cost more than
    // its decoding.
    text.clear();
    QVarLengthArray<QChar, 16> piece;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const qsizetype width = characterWidth(bytes, i);
        QStringDecoder& decoder = cp932Decoder();
        piece.resize(decoder.requiredSpace(width));
        const qsizetype decoded =
            decoder.appendToBuffer(piece.data(), bytes.sliced(i, width)) - piece.data();
        if (decoder.hasError() || decoded != 1 ||
            (width == 1 && isLeadByte(static_cast<uchar>(bytes[i])))) {
            text += QChar(QChar::ReplacementCharacter);
            i += 1;
        } else {
            text += piece[0];
            i += width;
        }
    }
    return text;
}

namespace {

// Decodes the bytes into `text`, on the stack for a line of a list; false when they are
// not CP932 text that encodes back to the same bytes.
bool decodeExactlyOnStack(QByteArrayView bytes, QVarLengthArray<QChar, 512>& text) {
    QStringDecoder& decoder = cp932Decoder();
    text.resize(decoder.requiredSpace(bytes.size()));
    text.resize(decoder.appendToBuffer(text.data(), bytes) - text.data());
    return !decoder.hasError() && encodesBackTo(QStringView(text.data(), text.size()), bytes);
}

} // namespace

bool appendCp932Exactly(QString& text, QByteArrayView bytes) {
    QVarLengthArray<QChar, 512> decoded;
    if (!decodeExactlyOnStack(bytes, decoded))
        return false;
    text.append(decoded.data(), decoded.size());
    return true;
}

bool isExactCp932(QByteArrayView bytes) {
    QVarLengthArray<QChar, 512> decoded;
    return decodeExactlyOnStack(bytes, decoded);
}

QString firstControlCharacter(QStringView text) {
    // The control characters are exactly U+0000 to U+001F and U+007F to U+009F; a range
    // check is cheaper than asking each character's category.
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F))
            return codePointName(c.unicode());
    }
    return {};
}

QString codePointName(char32_t codePoint) {
    return QStringLiteral("U+") +
           QString::number(quint32(codePoint), 16).toUpper().rightJustified(4, u'0');
}

QString trimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    // Most texts have nothing to trim: then they are shared, not copied.
    if (begin == 0 && end == text.size())
        return text;
    return text.sliced(begin, end - begin);
}

QStringView trimBlanks(QStringView text) {
    while (text.startsWith(u' '))
        text = text.sliced(1);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

} // namespace book
