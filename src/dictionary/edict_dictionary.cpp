#include "edict_dictionary.h"

#include "book/reused_converter.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <optional>

namespace dictionary {

QString EdictMatch::meaning() const { return usuallyKana || written.isEmpty() ? reading : written; }

namespace {

constexpr const char* kEncoding = "EUC-JP";

// Longer glosses are explanations, never a word a learner looks up; they are not indexed.
constexpr qsizetype kMaxKey = 64;
using Key = std::array<char, kMaxKey>;

// The gloss as it is matched: lower case, without what is in parentheses, blanks
// collapsed, without a leading "to ". Nothing when that leaves no text or too much.
std::optional<QByteArrayView> glossKey(QByteArrayView gloss, Key& buffer) {
    qsizetype size = 0;
    int depth = 0;
    bool blank = false;
    for (char c : gloss) {
        if (c == '(') {
            ++depth;
            blank = true;
        } else if (c == ')') {
            depth = std::max(0, depth - 1);
            blank = true;
        } else if (depth > 0) {
            continue;
        } else if (c == ' ' || c == '\t' || c == '\r') {
            blank = true;
        } else {
            if (size + 2 > kMaxKey)
                return std::nullopt;
            if (blank && size > 0)
                buffer[size++] = ' ';
            blank = false;
            buffer[size++] = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
        }
    }
    QByteArrayView key(buffer.data(), size);
    if (key.startsWith("to ") && key.size() > 3)
        key = key.sliced(3);
    if (key.isEmpty())
        return std::nullopt;
    return key;
}

// Where each line's glosses begin: just past " /", or -1 for a line that is no entry.
qsizetype glossStart(QByteArrayView line) {
    const qsizetype slash = line.indexOf('/');
    return slash > 0 && line[slash - 1] == ' ' ? slash + 1 : -1;
}

// A field that is no gloss: the entry's (P) mark or an EDICT2 sequence number.
bool isMarkField(QByteArrayView field) { return field == "(P)" || field.startsWith("EntL"); }

// Calls visit(field) for each '/'-separated field of the glosses.
template <typename Visit> void forEachField(QByteArrayView glosses, Visit visit) {
    qsizetype at = 0;
    while (at < glosses.size()) {
        qsizetype end = glosses.indexOf('/', at);
        if (end < 0)
            end = glosses.size();
        if (end > at)
            visit(glosses.sliced(at, end - at));
        at = end + 1;
    }
}

bool isVerbTag(QByteArrayView tag) {
    return tag == "vk" || tag == "vz" || tag == "vi" || tag == "vt" || tag.startsWith("v1") ||
           tag.startsWith("v2") || tag.startsWith("v4") || tag.startsWith("v5") ||
           tag.startsWith("vs");
}

bool isUnusualTag(QByteArrayView tag) {
    for (const char* unusual : {"arch", "obs", "ok", "oK", "obsc", "rare", "sl", "vulg", "X",
                                "derog", "m-sl", "male-sl", "joc", "iK", "ik", "io"}) {
        if (tag == unusual)
            return true;
    }
    return false;
}

// The sense a field belongs to, followed from field to field.
struct SenseState {
    int sense = 0;
    int gloss = -1;
    WordKind kind = WordKind::Other;
    bool usuallyKana = false;
    bool unusual = false;

    // Follows the field's leading "(tag,tag) (2) (uk)" marks.
    void enter(QByteArrayView field) {
        WordKind fieldKind = WordKind::Other;
        while (field.startsWith('(')) {
            const qsizetype close = field.indexOf(')');
            if (close < 0)
                break;
            const QByteArrayView tags = field.sliced(1, close - 1);
            bool number = !tags.isEmpty();
            for (char c : tags)
                number = number && c >= '0' && c <= '9';
            if (number) {
                const int n = tags.size() <= 3 ? QByteArray(tags.data(), tags.size()).toInt() : 0;
                if (n >= 1 && n - 1 != sense) {
                    sense = n - 1;
                    gloss = -1;
                    usuallyKana = false;
                    unusual = false;
                }
            } else {
                readTags(tags, fieldKind);
            }
            field = field.sliced(close + 1);
            while (field.startsWith(' '))
                field = field.sliced(1);
        }
        if (fieldKind != WordKind::Other)
            kind = fieldKind;
        ++gloss;
    }

    void readTags(QByteArrayView tags, WordKind& fieldKind) {
        qsizetype at = 0;
        while (at <= tags.size()) {
            qsizetype end = tags.indexOf(',', at);
            if (end < 0)
                end = tags.size();
            const QByteArrayView tag = tags.sliced(at, end - at);
            at = end + 1;
            if (tag == "uk")
                usuallyKana = true;
            else if (isUnusualTag(tag))
                unusual = true;
            else if (isVerbTag(tag))
                fieldKind = WordKind::Verb;
            else if (tag == "adj-i" || tag == "adj-ix")
                fieldKind = WordKind::AdjectiveI;
            else if (tag == "adj-na")
                fieldKind = WordKind::AdjectiveNa;
            else if (tag == "adv" && fieldKind == WordKind::Other)
                fieldKind = WordKind::Adverb;
            else if (tag == "n" && fieldKind == WordKind::Other)
                fieldKind = WordKind::Noun;
        }
    }
};

// One converter per thread, readied for each text.
// Bytes that are no EUC-JP come out as U+FFFD, and so does the control character ICU
// puts beside some of them.
QString decodeEucJp(QByteArrayView bytes) {
    thread_local book::ReusedConverter<QStringDecoder> decoder(kEncoding);
    QString text = decoder.ready().decode(bytes);
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    }
    return text;
}

QByteArray encodeEucJp(const QString& text) {
    thread_local book::ReusedConverter<QStringEncoder> encoder(kEncoding,
                                                               QStringConverter::Flag::Stateless);
    return encoder.ready().encode(text);
}

// The first of the ';'-separated forms, without EDICT2's "(P)"-like marks.
QString firstForm(QByteArrayView forms) {
    const qsizetype semicolon = forms.indexOf(';');
    if (semicolon >= 0)
        forms = forms.first(semicolon);
    const qsizetype paren = forms.indexOf('(');
    if (paren >= 0)
        forms = forms.first(paren);
    return decodeEucJp(forms).trimmed();
}

qsizetype lineEnd(QByteArrayView file, qsizetype start) {
    const qsizetype end = file.indexOf('\n', start);
    return end < 0 ? file.size() : end;
}

} // namespace

EdictDictionary::EdictDictionary(QByteArray file) : file_(std::move(file)) {
    if (file_.size() > kMaxFileBytes)
        file_.truncate(kMaxFileBytes);
    const QByteArrayView all(file_);
    lines_.reserve(size_t(file_.size() / 24));
    Key buffer;
    qsizetype at = 0;
    while (at < all.size()) {
        const qsizetype end = lineEnd(all, at);
        const QByteArrayView line = all.sliced(at, end - at);
        const qsizetype start = glossStart(line);
        if (start > 0) {
            const quint32 place = quint32(at);
            forEachField(line.sliced(start), [&](QByteArrayView field) {
                if (isMarkField(field))
                    return;
                if (const auto key = glossKey(field, buffer))
                    lines_.add(HashedIndex::hash(*key), place);
            });
        }
        at = end + 1;
    }
    lines_.finish();
}

QList<EdictMatch> EdictDictionary::lookup(const QString& english) const {
    QList<EdictMatch> matches;
    Key queryBuffer;
    const QByteArray query = encodeEucJp(english);
    const auto queryKey = glossKey(query, queryBuffer);
    if (!queryKey)
        return matches;
    const QByteArrayView all(file_);
    Key buffer;
    for (quint32 at : lines_.places(HashedIndex::hash(*queryKey))) {
        const QByteArrayView line = all.sliced(at, lineEnd(all, at) - at);
        const qsizetype start = glossStart(line);
        EdictMatch match;
        SenseState state;
        bool found = false;
        forEachField(line.sliced(start), [&](QByteArrayView field) {
            if (field == "(P)")
                match.common = true;
            if (found || isMarkField(field))
                return;
            state.enter(field);
            const auto key = glossKey(field, buffer);
            if (key && *key == *queryKey) {
                found = true;
                match.sense = state.sense;
                match.gloss = state.gloss;
                match.kind = state.kind;
                match.usuallyKana = state.usuallyKana;
                match.unusual = state.unusual;
            }
        });
        if (!found)
            continue;
        const QByteArrayView japanese = line.first(start - 2);
        const qsizetype open = japanese.indexOf('[');
        const qsizetype close = japanese.indexOf(']');
        if (open >= 0 && close > open) {
            match.written = firstForm(japanese.first(open));
            match.reading = firstForm(japanese.sliced(open + 1, close - open - 1));
        } else {
            match.reading = firstForm(japanese);
        }
        if (!match.reading.isEmpty())
            matches.append(match);
    }
    return matches;
}

} // namespace dictionary
