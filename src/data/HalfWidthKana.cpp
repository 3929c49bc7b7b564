#include "data/HalfWidthKana.h"

#include <QString>

#include <array>

namespace torumin {

namespace {

constexpr char16_t kBlockStart = 0x3000; // CJK symbols and punctuation, hiragana, katakana
constexpr std::size_t kBlockSize = 0x100;
constexpr char16_t kFullWidthFirst = 0xFF01; // ！ .. ～: ASCII 0x21 .. 0x7E
constexpr char16_t kFullWidthLast = 0xFF5E;
constexpr char16_t kFullWidthOffset = 0xFF01 - 0x21;

// Up to two half-width units for a character of the block; none when it has
// no half-width form.
using Folds = std::array<std::array<char16_t, 2>, kBlockSize>;

void setFold(Folds &folds, const QString &fullWidth, char16_t first, char16_t second = 0)
{
    if (fullWidth.size() != 1)
        return; // no single character to fold from
    const char16_t c = fullWidth.at(0).unicode();
    if (c < kBlockStart || c >= kBlockStart + kBlockSize)
        return;
    folds[c - kBlockStart] = {first, second};
}

// Read off Unicode's own mapping, each half-width form and each pairing with
// a voicing mark, rather than typed out by hand.
Folds makeFolds()
{
    Folds folds{};
    constexpr char16_t kVoiced = 0xFF9E;
    constexpr char16_t kSemiVoiced = 0xFF9F;
    for (char16_t half = 0xFF61; half <= kSemiVoiced; ++half) {
        setFold(folds, QString(QChar(half)).normalized(QString::NormalizationForm_KC), half);
        for (const char16_t mark : {kVoiced, kSemiVoiced}) {
            const QString pair = QString(QChar(half)) + QChar(mark);
            const QString composed = pair.normalized(QString::NormalizationForm_KC);
            if (composed.size() == 1)
                setFold(folds, composed, half, mark);
        }
    }
    // The spacing voicing marks, which the normalisation spells as a space
    // and the combining mark.
    setFold(folds, QString(QChar(0x309B)), kVoiced);
    setFold(folds, QString(QChar(0x309C)), kSemiVoiced);
    setFold(folds, QString(QChar(0x3000)), u' ');
    return folds;
}

const Folds &folds()
{
    static const Folds table = makeFolds();
    return table;
}

const std::array<char16_t, 2> *foldOf(char16_t c) noexcept
{
    if (c < kBlockStart || c >= kBlockStart + kBlockSize)
        return nullptr;
    const std::array<char16_t, 2> &fold = folds()[c - kBlockStart];
    return fold[0] != 0 ? &fold : nullptr;
}

} // namespace

bool hasHalfWidthForms(std::u16string_view text) noexcept
{
    for (const char16_t c : text) {
        if ((c >= kFullWidthFirst && c <= kFullWidthLast) || foldOf(c))
            return true;
    }
    return false;
}

void foldToHalfWidth(std::u16string_view text, std::u16string &out)
{
    for (const char16_t c : text) {
        if (c >= kFullWidthFirst && c <= kFullWidthLast) {
            out += static_cast<char16_t>(c - kFullWidthOffset);
        } else if (const std::array<char16_t, 2> *fold = foldOf(c)) {
            out += (*fold)[0];
            if ((*fold)[1] != 0)
                out += (*fold)[1];
        } else {
            out += c;
        }
    }
}

} // namespace torumin
