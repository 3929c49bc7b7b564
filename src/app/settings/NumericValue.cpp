#include "app/settings/NumericValue.h"

#include <charconv>
#include <limits>
#include <string>
#include <system_error>

namespace torumin {
namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

int digitValue(QChar c, int radix)
{
    const char16_t u = c.unicode();
    int value = -1;
    if (u >= u'0' && u <= u'9')
        value = u - u'0';
    else if (u >= u'a' && u <= u'f')
        value = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        value = u - u'A' + 10;
    return value < radix ? value : -1;
}

bool isDecimalDigit(QChar c)
{
    return digitValue(c, 10) >= 0;
}

// "&H00FFFFFF&": colours are stored as 00BBGGRR, so the digits are read as an
// unsigned number and "&HFFFFFFFF&" is 4294967295, not the -1 a signed 32-bit
// reading would give. Accumulating in a double keeps eight digits exact and
// lets a longer run grow (towards inf) instead of overflowing an integer.
double radixValue(QStringView digits, int radix)
{
    double value = 0;
    for (const QChar c : digits) {
        const int digit = digitValue(c, radix);
        if (digit < 0)
            break;
        value = value * radix + digit;
    }
    return value;
}

qsizetype skipDigits(QStringView text, qsizetype pos)
{
    while (pos < text.size() && isDecimalDigit(text[pos]))
        ++pos;
    return pos;
}

// from_chars leaves its output untouched when the value does not fit, so the
// caller needs to know which way it fell: the power of ten of the first
// significant digit, with the written exponent added (saturated, since the
// exponent itself may be hundreds of digits long).
long long decimalMagnitude(QStringView integer, QStringView fraction, QStringView exponent)
{
    constexpr long long kLimit = 1'000'000'000;
    long long magnitude = 0;
    qsizetype firstNonZero = 0;
    while (firstNonZero < integer.size() && integer[firstNonZero] == u'0')
        ++firstNonZero;
    if (firstNonZero < integer.size()) {
        magnitude = integer.size() - firstNonZero - 1;
    } else {
        qsizetype zeros = 0;
        while (zeros < fraction.size() && fraction[zeros] == u'0')
            ++zeros;
        magnitude = -(zeros + 1);
    }

    long long written = 0;
    bool negative = false;
    qsizetype pos = 0;
    if (!exponent.isEmpty() && (exponent[0] == u'+' || exponent[0] == u'-')) {
        negative = exponent[0] == u'-';
        ++pos;
    }
    for (; pos < exponent.size() && written < kLimit; ++pos)
        written = written * 10 + digitValue(exponent[pos], 10);
    return magnitude + (negative ? -written : written);
}

double decimalValue(QStringView text)
{
    qsizetype pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
        negative = text[pos] == u'-';
        ++pos;
    }

    const qsizetype integerStart = pos;
    pos = skipDigits(text, pos);
    const QStringView integer = text.sliced(integerStart, pos - integerStart);

    QStringView fraction;
    if (pos < text.size() && text[pos] == u'.') {
        const qsizetype fractionStart = pos + 1;
        pos = skipDigits(text, fractionStart);
        fraction = text.sliced(fractionStart, pos - fractionStart);
    }
    if (integer.isEmpty() && fraction.isEmpty())
        return 0;

    // "1e" and "1e+" are the number 1 followed by text, not an exponent.
    QStringView exponent;
    if (pos < text.size() && (text[pos] == u'e' || text[pos] == u'E')) {
        qsizetype digitsStart = pos + 1;
        if (digitsStart < text.size() && (text[digitsStart] == u'+' || text[digitsStart] == u'-'))
            ++digitsStart;
        const qsizetype end = skipDigits(text, digitsStart);
        if (end > digitsStart)
            exponent = text.sliced(pos + 1, end - pos - 1);
    }

    // Rebuilt in plain ASCII so the conversion is exact and independent of the
    // C locale the GUI may have switched to.
    std::string ascii;
    try {
        ascii.reserve(static_cast<std::size_t>(integer.size() + fraction.size() + exponent.size() + 4));
        ascii += '0';
        for (const QChar c : integer)
            ascii += static_cast<char>(c.unicode());
        if (!fraction.isEmpty()) {
            ascii += '.';
            for (const QChar c : fraction)
                ascii += static_cast<char>(c.unicode());
        }
        if (!exponent.isEmpty()) {
            ascii += 'e';
            for (const QChar c : exponent)
                ascii += static_cast<char>(c.unicode());
        }
    } catch (const std::bad_alloc &) {
        return 0;
    }

    double value = 0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        value = decimalMagnitude(integer, fraction, exponent) > 0
            ? std::numeric_limits<double>::infinity()
            : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0;
    }
    return negative ? -value : value;
}

} // namespace

double NumericValue(QStringView text) noexcept
{
    qsizetype pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    const QStringView rest = text.sliced(pos);

    double value = 0;
    if (rest.size() >= 2 && rest[0] == u'&') {
        // A trailing "&" (VB's Long suffix) ends the digits like any other character.
        const QChar radixMark = rest[1].toUpper();
        if (radixMark == u'H')
            value = radixValue(rest.sliced(2), 16);
        else if (radixMark == u'O')
            value = radixValue(rest.sliced(2), 8);
    } else {
        value = decimalValue(rest);
    }
    // Callers print and compare these; "-0" would show up as such.
    return value == 0 ? 0.0 : value;
}

} // namespace torumin
