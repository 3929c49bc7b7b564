#include "search/KanaWidth.h"

#include <array>
#include <string_view>
#include <utility>

namespace torumin {

namespace {

// U+FF66 to U+FF9D, in the half-width block's order.
constexpr std::u16string_view kFullForHalf =
    u"ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン";
constexpr char16_t kFirstHalf = 0xFF66;
constexpr char16_t kHalfVoiced = 0xFF9E;      // ﾞ
constexpr char16_t kHalfSemiVoiced = 0xFF9F;  // ﾟ
// The half-width block's punctuation and voicing marks, and their full-width forms.
constexpr std::array<std::pair<char16_t, char16_t>, 7> kMarks{{
    {u'｡', u'。'}, {u'｢', u'「'}, {u'｣', u'」'}, {u'､', u'、'}, {u'･', u'・'}, {u'ﾞ', u'゛'}, {u'ﾟ', u'゜'}}};

char16_t markFor(char16_t c, bool toHalf)
{
    for (const auto &[half, full] : kMarks) {
        if (c == (toHalf ? full : half))
            return toHalf ? half : full;
    }
    return 0;
}

bool takesVoicedMark(char16_t full)
{
    return std::u16string_view(u"ウカキクケコサシスセソタチツテトハヒフヘホ").find(full) != std::u16string_view::npos;
}

bool takesSemiVoicedMark(char16_t full)
{
    return std::u16string_view(u"ハヒフヘホ").find(full) != std::u16string_view::npos;
}

// The unvoiced kana and its mark for a voiced one (ガ → カ, ﾞ), or 0.
std::pair<char16_t, char16_t> splitVoiced(char16_t full)
{
    if (full == u'ヴ')
        return {u'ウ', kHalfVoiced};
    if (full > u'ア' && full <= u'ポ') {
        const char16_t base = static_cast<char16_t>(full - 1);
        if (takesVoicedMark(base) && base != u'ウ')
            return {base, kHalfVoiced};
        const char16_t semiBase = static_cast<char16_t>(full - 2);
        if (full >= u'パ' && takesSemiVoicedMark(semiBase))
            return {semiBase, kHalfSemiVoiced};
    }
    return {0, 0};
}

char16_t halfFor(char16_t full)
{
    const auto at = kFullForHalf.find(full);
    return at == std::u16string_view::npos ? char16_t(0) : static_cast<char16_t>(kFirstHalf + at);
}

} // namespace

QString toHalfWidthKatakana(QStringView text)
{
    QString half;
    half.reserve(text.size() * 2);
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (const char16_t plain = halfFor(c)) {
            half += QChar(plain);
        } else if (const auto [base, mark] = splitVoiced(c); base != 0) {
            half += QChar(halfFor(base));
            half += QChar(mark);
        } else if (const char16_t mark = markFor(c, true)) {
            half += QChar(mark);
        } else {
            half += ch;
        }
    }
    return half;
}

QString toFullWidthKatakana(QStringView text)
{
    QString full;
    full.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < kFirstHalf || c > 0xFF9D) {
            const char16_t mark = markFor(c, false);
            full += QChar(mark ? mark : c);
            continue;
        }
        const char16_t base = kFullForHalf[c - kFirstHalf];
        const char16_t next = i + 1 < text.size() ? text.at(i + 1).unicode() : char16_t(0);
        if (next == kHalfVoiced && takesVoicedMark(base)) {
            full += QChar(base == u'ウ' ? char16_t(u'ヴ') : static_cast<char16_t>(base + 1));
            ++i;
        } else if (next == kHalfSemiVoiced && takesSemiVoicedMark(base)) {
            full += QChar(static_cast<char16_t>(base + 2));
            ++i;
        } else {
            full += QChar(base);
        }
    }
    return full;
}

} // namespace torumin
