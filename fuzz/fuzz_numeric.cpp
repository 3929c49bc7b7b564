// Stored option text through the one text-to-number conversion, checked
// against references written without looking at how it converts: an integer
// or a scaled leading-digits estimate for "&H"/"&O", the C library's strtod
// (in the C locale) for decimals.

#include "FuzzCheck.h"

#include "app/settings/NumericValue.h"

#include <QString>
#include <QStringView>

#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>
#include <string>
#include <vector>

using namespace torumin;

namespace {

int digitIn(QChar c, int radix)
{
    const char16_t u = c.unicode();
    int digit = 99;
    if (u >= '0' && u <= '9')
        digit = u - '0';
    else if (u >= 'a' && u <= 'z')
        digit = u - 'a' + 10;
    else if (u >= 'A' && u <= 'Z')
        digit = u - 'A' + 10;
    return digit < radix ? digit : -1;
}

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

QString shown(QStringView text)
{
    QString out;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F)
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return out;
}

// "&H"/"&O" and the digits after it, read as an unsigned number.
void checkRadix(QStringView text, double value)
{
    const QChar mark = text[1];
    const int radix = (mark == u'H' || mark == u'h') ? 16 : 8;
    const int bitsPerDigit = radix == 16 ? 4 : 3;
    qsizetype pos = 2;
    while (pos < text.size() && text[pos] == u'0')
        ++pos;
    std::uint64_t leading = 0;
    qsizetype significant = 0;
    const qsizetype keep = 60 / bitsPerDigit; // digits whose value fits 60 bits
    for (; pos < text.size() && digitIn(text[pos], radix) >= 0; ++pos, ++significant) {
        if (significant < keep)
            leading = leading * static_cast<unsigned>(radix) + static_cast<unsigned>(digitIn(text[pos], radix));
    }
    const QString detail = shown(text) + QStringLiteral(" -> %1").arg(value, 0, 'g', 17);

    if (significant * bitsPerDigit <= 53) {
        // Small enough for a double to hold exactly: eight hex digits of a
        // colour and well beyond.
        FUZZ_CHECK_SAYING(value == static_cast<double>(leading), detail);
        return;
    }
    // Longer runs can only be checked to within rounding: the leading 60 bits
    // scaled by the digits after them.
    const qsizetype dropped = significant > keep ? significant - keep : 0;
    const double estimate = std::ldexp(static_cast<double>(leading), static_cast<int>(dropped * bitsPerDigit));
    if (std::isinf(estimate) || estimate > 1e307) {
        FUZZ_CHECK_SAYING(value >= 1e300, detail);
        return;
    }
    FUZZ_CHECK_SAYING(std::fabs(value - estimate) <= estimate * 1e-9, detail);
}

double cLocaleStrtod(const std::string &ascii)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtod_l(ascii.c_str(), nullptr, cLocale);
}

// Text starting with a sign, a digit or a point: the longest number in the
// usual decimal notation at its start, or 0 without one.
void checkDecimal(QStringView text, double value)
{
    const QString detail = shown(text) + QStringLiteral(" -> %1").arg(value, 0, 'g', 17);
    std::string ascii;
    qsizetype pos = 0;
    if (text[0] == u'+' || text[0] == u'-')
        ascii += static_cast<char>(text[pos++].unicode());
    qsizetype digits = 0;
    for (; pos < text.size() && isAsciiDigit(text[pos]); ++pos, ++digits)
        ascii += static_cast<char>(text[pos].unicode());
    if (pos < text.size() && text[pos] == u'.') {
        ascii += '.';
        for (++pos; pos < text.size() && isAsciiDigit(text[pos]); ++pos, ++digits)
            ascii += static_cast<char>(text[pos].unicode());
    }
    if (digits == 0) {
        FUZZ_CHECK_SAYING(value == 0, detail);
        return;
    }
    if (pos < text.size() && (text[pos] == u'e' || text[pos] == u'E')) {
        qsizetype after = pos + 1;
        std::string exponent = "e";
        if (after < text.size() && (text[after] == u'+' || text[after] == u'-'))
            exponent += static_cast<char>(text[after++].unicode());
        qsizetype exponentDigits = 0;
        for (; after < text.size() && isAsciiDigit(text[after]); ++after, ++exponentDigits)
            exponent += static_cast<char>(text[after].unicode());
        if (exponentDigits > 0)
            ascii += exponent;
    }

    const double expected = cLocaleStrtod(ascii);
    if (expected == 0) {
        FUZZ_CHECK_SAYING(value == 0, detail);
        return;
    }
    if (std::fabs(expected) < std::numeric_limits<double>::min()) {
        // Below the normal range: flushing to zero is as good an answer.
        FUZZ_CHECK_SAYING(value == expected || value == 0, detail);
        return;
    }
    FUZZ_CHECK_SAYING(value == expected,
                      detail + QStringLiteral(", strtod(\"%1\") = %2").arg(QString::fromLatin1(ascii.c_str())).arg(expected, 0, 'g', 17));
}

void checkText(QStringView text)
{
    const double value = NumericValue(text);
    const QString detail = shown(text) + QStringLiteral(" -> %1").arg(value, 0, 'g', 17);
    FUZZ_CHECK_SAYING(!std::isnan(value), detail);
    FUZZ_CHECK_SAYING(!(value == 0 && std::signbit(value)), detail);
    // Text with blanks in front is held to the checks above only: which
    // blanks may precede a number is the conversion's own choice.
    if (text.isEmpty())
        return;
    const QChar first = text[0];
    if (first == u'&') {
        const bool radix = text.size() >= 2
            && (text[1] == u'H' || text[1] == u'h' || text[1] == u'O' || text[1] == u'o');
        if (radix)
            checkRadix(text, value);
        else
            FUZZ_CHECK_SAYING(value == 0, detail);
    } else if (first == u'+' || first == u'-' || first == u'.' || isAsciiDigit(first)) {
        checkDecimal(text, value);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto *chars = reinterpret_cast<const char *>(data);
    checkText(QString::fromUtf8(chars, static_cast<qsizetype>(size)));
    // Also as raw UTF-16 units: option text need not be valid Unicode.
    std::vector<char16_t> units(size / 2);
    if (!units.empty())
        std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
    checkText(QStringView(units.data(), static_cast<qsizetype>(units.size())));
    return 0;
}
