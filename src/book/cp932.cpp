#include "cp932.h"
#include "reused_converter.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QVarLengthArray>

#include <bitset>

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

namespace {

// Decodes the bytes onto the end of the text; false when a byte does not decode.
bool appendDecoded(QString& text, QByteArrayView bytes) {
    QStringDecoder& decoder = cp932Decoder();
    const qsizetype start = text.size();
    text.resize(start + decoder.requiredSpace(bytes.size()));
    const QChar* end = decoder.appendToBuffer(text.data() + start, bytes);
    text.resize(end - text.constData());
    return !decoder.hasError();
}

// Whether the bytes decode, on their own, to one character.
bool decodesAlone(QByteArrayView character) {
    QStringDecoder& decoder = cp932Decoder();
    QVarLengthArray<QChar, 16> decoded(decoder.requiredSpace(character.size()));
    return decoder.appendToBuffer(decoded.data(), character) - decoded.data() == 1 &&
           !decoder.hasError();
}

// The characters of CP932 that decode, by their bytes: a byte alone (0x00 to 0xFF, a lead
// byte cut off never), or a lead byte and the byte after it (0x8100 on). Asked of the
// decoder once, so that damaged text is decoded a run of characters at a time.
const std::bitset<0x10000>& decodableCharacters() {
    static const std::bitset<0x10000> decodable = [] {
        std::bitset<0x10000> characters;
        char bytes[2];
        for (int first = 0; first <= 0xFF; ++first) {
            bytes[0] = char(first);
            if (!isLeadByte(uchar(first))) {
                characters[first] = decodesAlone({bytes, 1});
                continue;
            }
            for (int second = 0; second <= 0xFF; ++second) {
                bytes[1] = char(second);
                characters[first << 8 | second] = decodesAlone({bytes, 2});
            }
        }
        return characters;
    }();
    return decodable;
}

} // namespace

void appendCp932(QString& text, QByteArrayView bytes) {
    const qsizetype start = text.size();
    if (appendDecoded(text, bytes) && !endsInLoneLeadByte(bytes))
        return;

    // Damaged text: a bad byte costs only itself. Each run of characters that decode is
    // decoded in one go.
    text.resize(start);
    const std::bitset<0x10000>& decodable = decodableCharacters();
    qsizetype run = 0;
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype width = characterWidth(bytes, i);
        const uchar first = static_cast<uchar>(bytes[i]);
        if (decodable[width == 2 ? first << 8 | static_cast<uchar>(bytes[i + 1]) : first]) {
            i += width;
            continue;
        }
        appendDecoded(text, bytes.sliced(run, i - run));
        text += QChar(QChar::ReplacementCharacter);
        run = ++i;
    }
    appendDecoded(text, bytes.sliced(run));
}

QString decodeCp932(QByteArrayView bytes) {
    QString text;
    appendCp932(text, bytes);
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
    return QStringLiteral("U+%1").arg(quint32(codePoint), 4, 16, QLatin1Char('0')).toUpper();
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
