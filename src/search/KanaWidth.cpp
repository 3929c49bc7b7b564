#include "search/KanaWidth.h"

#include "data/HalfWidthKana.h"

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

char16_t fullMarkFor(char16_t c)
{
    for (const auto &[half, full] : kMarks) {
        if (c == half)
            return full;
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

} // namespace

QString toHalfWidthKatakana(QStringView text)
{
    // The very fold the list's readings went through while loading, so a
    // reading typed either way meets the table's.
    std::u16string half;
    half.reserve(static_cast<std::size_t>(text.size()) * 2);
    foldToHalfWidth(std::u16string_view(text.utf16(), static_cast<std::size_t>(text.size())), half);
    // Not fromStdU16String: that reads a leading U+FFFE as a byte-swapped
    // order mark and swaps the rest.
    return QString(reinterpret_cast<const QChar *>(half.data()), static_cast<qsizetype>(half.size()));
}

QString toFullWidthKatakana(QStringView text)
{
    QString full;
    full.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < kFirstHalf || c > 0xFF9D) {
            const char16_t mark = fullMarkFor(c);
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
