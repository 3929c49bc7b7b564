#include "app/settings/IniText.h"

#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace torumin {

namespace {

constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

std::optional<QString> decodedLine(QByteArrayView line)
{
    for (const char c : line) {
        // Never written raw by the program: a line holding one was damaged.
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
            return std::nullopt;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(line);
    if (decoder.hasError())
        return std::nullopt;
    // A byte order mark left where two files were joined, not part of the line.
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView trimmed(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// The value of `count` hex digits at `at`, or nothing.
std::optional<char16_t> hexAt(QStringView text, qsizetype at, int count)
{
    if (at + count > text.size())
        return std::nullopt;
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const int digit = hexDigit(text[at + i]);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + digit;
    }
    return static_cast<char16_t>(value);
}

// "%28" and "%U6F22" as earlier versions wrote them; anything else as it stands.
QString unescapedKey(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'%') {
            if (i + 1 < text.size() && text[i + 1] == u'U') {
                if (const auto unit = hexAt(text, i + 2, 4)) {
                    out += QChar(*unit);
                    i += 5;
                    continue;
                }
            }
            if (const auto unit = hexAt(text, i + 1, 2)) {
                out += QChar(*unit);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// Quotes keep spaces and separators as they are; backslash escapes stand for
// the characters that cannot appear raw. Unquoted blanks at either end are
// padding.
QString unescapedValue(QStringView text)
{
    text = trimmed(text);
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"')
            continue; // opens or closes a quoted part
        if (c != u'\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar e = text[++i];
        switch (e.unicode()) {
        case u'a': out += QChar(0x07); break;
        case u'b': out += QChar(0x08); break;
        case u'f': out += QChar(0x0C); break;
        case u'n': out += QChar(0x0A); break;
        case u'r': out += QChar(0x0D); break;
        case u't': out += QChar(0x09); break;
        case u'v': out += QChar(0x0B); break;
        case u'x': {
            // The writer escapes a hex digit that comes right after one of
            // these, so every digit that follows belongs to it.
            char16_t value = 0;
            for (int digits = 0; digits < 4 && i + 1 < text.size() && hexDigit(text[i + 1]) >= 0; ++digits)
                value = static_cast<char16_t>(value * 16 + hexDigit(text[++i]));
            out += QChar(value);
            break;
        }
        case u'0': case u'1': case u'2': case u'3': case u'4': case u'5': case u'6': case u'7': {
            auto value = static_cast<char16_t>(e.unicode() - u'0');
            for (int digits = 1; digits < 3 && i + 1 < text.size(); ++digits) {
                const char16_t next = text[i + 1].unicode();
                if (next < u'0' || next > u'7')
                    break;
                value = static_cast<char16_t>(value * 8 + (next - u'0'));
                ++i;
            }
            out += QChar(value);
            break;
        }
        default: // \\ \" \' \? and anything unknown: the character itself
            out += e;
            break;
        }
    }

    // A leading "@" marks a typed value; a text that starts with one has it doubled.
    if (out.startsWith(u"@@"))
        out.remove(0, 1);
    else if (out.startsWith(u"@String(") && out.endsWith(u')'))
        out = out.sliced(8, out.size() - 9);
    return out;
}

// A surrogate without its partner has no UTF-8 form: it is written escaped.
bool isLoneSurrogate(const QString &text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate())
        return i + 1 == text.size() || !text[i + 1].isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text[i - 1].isHighSurrogate();
    return false;
}

bool keyCharacterNeedsEscape(const QString &key, qsizetype i)
{
    const char16_t u = key[i].unicode();
    return u <= 0x20 || u == 0x7F || u == u'%' || u == u'=' || u == u';' || u == u'#' || u == u'['
        || u == u']' || u == u'"' || u == u'\\' || u == 0xFEFF || isLoneSurrogate(key, i);
}

QByteArray escapedKey(const QString &key)
{
    QString out;
    out.reserve(key.size());
    for (qsizetype i = 0; i < key.size(); ++i) {
        const char16_t u = key[i].unicode();
        if (!keyCharacterNeedsEscape(key, i))
            out += key[i];
        else if (u <= 0xFF)
            out += u'%' + QString::number(u, 16).toUpper().rightJustified(2, u'0');
        else
            out += u"%U" + QString::number(u, 16).toUpper().rightJustified(4, u'0');
    }
    return out.toUtf8();
}

QByteArray escapedValue(const QString &value)
{
    const bool needsQuotes = value.startsWith(u' ') || value.endsWith(u' ') || value.contains(u';')
        || value.contains(u',') || value.contains(u'=');
    QString out;
    out.reserve(value.size() + 2);
    if (value.startsWith(u'@'))
        out += u'@';
    bool afterHexEscape = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        const char16_t u = c.unicode();
        if ((afterHexEscape && hexDigit(c) >= 0) || isLoneSurrogate(value, i)) {
            out += u"\\x";
            out += QString::number(u, 16);
            afterHexEscape = true;
            continue;
        }
        afterHexEscape = false;
        switch (u) {
        case u'\\': out += u"\\\\"; break;
        case u'"': out += u"\\\""; break;
        case 0x07: out += u"\\a"; break;
        case 0x08: out += u"\\b"; break;
        case 0x09: out += u"\\t"; break;
        case 0x0A: out += u"\\n"; break;
        case 0x0B: out += u"\\v"; break;
        case 0x0C: out += u"\\f"; break;
        case 0x0D: out += u"\\r"; break;
        default:
            if (u < 0x20) {
                out += u"\\x";
                out += QString::number(u, 16);
                afterHexEscape = true;
            } else {
                out += c;
            }
            break;
        }
    }
    if (needsQuotes)
        return '"' + out.toUtf8() + '"';
    return out.toUtf8();
}

// "Name(12)" as the name and 12, for ordering array keys by index.
struct KeyParts {
    QStringView name;
    qint64 index = -1;
};

KeyParts partsOf(const QString &key)
{
    const qsizetype open = key.indexOf(u'(');
    if (open <= 0 || !key.endsWith(u')') || key.size() - open - 2 < 1 || key.size() - open - 2 > 9)
        return {key, -1};
    bool ok = false;
    const qint64 index = QStringView(key).sliced(open + 1, key.size() - open - 2).toLongLong(&ok);
    if (!ok || index < 0)
        return {key, -1};
    return {QStringView(key).first(open), index};
}

bool keyBefore(const QString &a, const QString &b)
{
    const KeyParts pa = partsOf(a);
    const KeyParts pb = partsOf(b);
    if (const int byName = pa.name.compare(pb.name); byName != 0)
        return byName < 0;
    if (pa.index != pb.index)
        return pa.index < pb.index;
    return a < b;
}

} // namespace

IniContent parseIni(QByteArrayView bytes)
{
    IniContent content;
    if (bytes.startsWith(kByteOrderMark))
        bytes = bytes.sliced(kByteOrderMark.size());

    std::optional<QString> section; // none before the first header, or after a broken one
    // Passed-over lines of the current section still waiting for the key
    // that follows them.
    qsizetype waitingFrom = 0;
    const auto passOver = [&](QByteArrayView raw) {
        if (section)
            content.passedOver.bySection[*section].append({raw.toByteArray(), QString()});
        else
            content.passedOver.outsideSections.append(raw.toByteArray());
    };
    const auto enterSection = [&](std::optional<QString> name) {
        section = std::move(name);
        waitingFrom = section ? content.passedOver.bySection.value(*section).size() : 0;
    };
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype end = pos;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        const QByteArrayView raw = bytes.sliced(pos, end - pos);
        pos = end;
        if (pos < bytes.size() && bytes[pos++] == '\r' && pos < bytes.size() && bytes[pos] == '\n')
            ++pos;

        const std::optional<QString> decoded = decodedLine(raw);
        if (!decoded) {
            ++content.unusableLines;
            passOver(raw);
            continue;
        }
        const QStringView line = trimmed(*decoded);
        if (line.isEmpty())
            continue;
        if (line.startsWith(u';') || line.startsWith(u'#')) {
            passOver(raw);
            continue;
        }
        if (line.startsWith(u'[')) {
            const QStringView name = line.endsWith(u']') ? trimmed(line.sliced(1, line.size() - 2)) : QStringView();
            if (!name.isEmpty()) {
                enterSection(unescapedKey(name));
            } else {
                enterSection(std::nullopt);
                ++content.unusableLines;
                passOver(raw);
            }
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        const QStringView key = equals > 0 ? trimmed(line.first(equals)) : QStringView();
        if (!section || key.isEmpty()) {
            ++content.unusableLines;
            passOver(raw);
            continue;
        }
        const QString name = unescapedKey(key);
        if (const auto found = content.passedOver.bySection.find(*section);
            found != content.passedOver.bySection.end()) {
            for (qsizetype i = waitingFrom; i < found->size(); ++i)
                (*found)[i].beforeKey = name;
            waitingFrom = found->size();
        }
        content.values[*section].insert(name, unescapedValue(line.sliced(equals + 1)));
        ++content.keyCount;
    }
    return content;
}

QByteArray formatIni(const SettingsValues &values, const PassedOverLines &passedOver)
{
    QByteArray out;
    // A mark at the very start would be taken for the file's own and dropped.
    if (!passedOver.outsideSections.isEmpty() && passedOver.outsideSections.front().startsWith(kByteOrderMark))
        out += '\n';
    for (const QByteArray &line : passedOver.outsideSections)
        out += line + '\n';

    QStringList sections = values.keys();
    for (auto it = passedOver.bySection.keyBegin(); it != passedOver.bySection.keyEnd(); ++it) {
        if (!values.contains(*it))
            sections.append(*it);
    }
    std::sort(sections.begin(), sections.end());
    for (const QString &section : std::as_const(sections)) {
        const SectionValues keys = values.value(section);
        const QList<PassedOverLine> kept = passedOver.bySection.value(section);
        if (keys.isEmpty() && kept.isEmpty())
            continue;
        if (!out.isEmpty())
            out += '\n';
        out += '[' + escapedKey(section) + "]\n";
        QStringList names = keys.keys();
        std::sort(names.begin(), names.end(), keyBefore);
        for (const QString &name : std::as_const(names)) {
            for (const PassedOverLine &line : kept) {
                if (line.beforeKey == name)
                    out += line.bytes + '\n';
            }
            out += escapedKey(name) + '=' + escapedValue(keys[name]) + '\n';
        }
        // Those whose key has gone, and those that ended their section.
        for (const PassedOverLine &line : kept) {
            if (line.beforeKey.isEmpty() || !keys.contains(line.beforeKey))
                out += line.bytes + '\n';
        }
    }
    return out;
}

} // namespace torumin
