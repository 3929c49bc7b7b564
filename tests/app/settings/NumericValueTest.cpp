#include "app/settings/NumericValue.h"

#include <gtest/gtest.h>

#include <QString>

#include <cmath>
#include <limits>
#include <ostream>

using namespace Qt::StringLiterals;

namespace torumin {
namespace {

struct Case {
    QString text;
    double expected;
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << '"' << c.text.toStdString() << '"';
}

class NumericValueTest : public ::testing::TestWithParam<Case> {};

TEST_P(NumericValueTest, ReadsTheNumberTheTextBeginsWith)
{
    const Case &c = GetParam();
    const double value = NumericValue(c.text);
    EXPECT_EQ(value, c.expected);
    EXPECT_FALSE(std::signbit(value) && value == 0) << "negative zero";
}

INSTANTIATE_TEST_SUITE_P(Decimal, NumericValueTest, ::testing::Values(
    Case{u""_s, 0},
    Case{u"abc"_s, 0},
    Case{u"."_s, 0},
    Case{u"-"_s, 0},
    Case{u"+."_s, 0},
    Case{u"12abc"_s, 12},
    Case{u"4920.5"_s, 4920.5},
    Case{u"-300"_s, -300},
    Case{u"+7"_s, 7},
    Case{u"-0"_s, 0},
    Case{u"0012"_s, 12},
    Case{u".5"_s, 0.5},
    Case{u"5."_s, 5},
    Case{u"-.25x"_s, -0.25},
    Case{u"0.1"_s, 0.1},
    Case{u"1.2.3"_s, 1.2},
    Case{u"1,000"_s, 1},
    Case{u"16777215"_s, 16777215},
    Case{u"4294967295"_s, 4294967295.0}));

INSTANTIATE_TEST_SUITE_P(Exponent, NumericValueTest, ::testing::Values(
    Case{u"1e3"_s, 1000},
    Case{u"1E3"_s, 1000},
    Case{u"2.5e+2"_s, 250},
    Case{u"5e-1"_s, 0.5},
    Case{u"1e"_s, 1},
    Case{u"1e+"_s, 1},
    Case{u"1e-x"_s, 1},
    Case{u"1e2e3"_s, 100},
    Case{u".e5"_s, 0},
    Case{u"1d3"_s, 1}));

INSTANTIATE_TEST_SUITE_P(LeadingBlanks, NumericValueTest, ::testing::Values(
    Case{u"  42"_s, 42},
    Case{u"\t-3.5x"_s, -3.5},
    Case{u" \t &H10"_s, 16},
    Case{u"1 2"_s, 1},
    Case{u"- 5"_s, 0},
    // U+3000 is not a blank to Val, and full-width digits are not digits.
    Case{u"\u30001"_s, 0},
    Case{u"１２"_s, 0}));

INSTANTIATE_TEST_SUITE_P(HexAndOctal, NumericValueTest, ::testing::Values(
    Case{u"&H00FFFFFF&"_s, 16777215},
    Case{u"&h00ffffff"_s, 16777215},
    Case{u"&H00000000&"_s, 0},
    Case{u"&HFFFFFFFF&"_s, 4294967295.0},
    Case{u"&H000080FF&"_s, 33023},
    Case{u"&H1F"_s, 31},
    Case{u"&H10G"_s, 16},
    Case{u"&H"_s, 0},
    Case{u"&Hxyz"_s, 0},
    Case{u"&"_s, 0},
    Case{u"&X10"_s, 0},
    Case{u"-&H10"_s, 0},
    Case{u"&O17"_s, 15},
    Case{u"&o777&"_s, 511},
    Case{u"&O78"_s, 7},
    Case{u"&O8"_s, 0}));

// Text no C library should get to interpret: these all start with a letter.
INSTANTIATE_TEST_SUITE_P(NotNumbers, NumericValueTest, ::testing::Values(
    Case{u"nan"_s, 0},
    Case{u"inf"_s, 0},
    Case{u"-infinity"_s, 0},
    Case{u"0x1A"_s, 0},
    Case{u"e5"_s, 0}));

TEST(NumericValueExtremesTest, HugeAndTinyTextsGiveInfOrZeroNeverNan)
{
    const QString nines(400, u'9');
    const QString tinyFraction = u"0."_s + QString(400, u'0') + u'1';
    const QString longHex = u"&H"_s + QString(300, u'F');
    struct Extreme {
        QString text;
        double expected;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Extreme cases[] = {
        {nines, inf},
        {u"-"_s + nines, -inf},
        {u"1e400"_s, inf},
        {u"-1e400"_s, -inf},
        {u"1e-400"_s, 0},
        {u"1e99999999999999999999999"_s, inf},
        {u"1e-99999999999999999999999"_s, 0},
        {tinyFraction, 0},
        {u"0.000000001e400"_s, inf},
        {QString(500, u'0') + u"7"_s, 7},
        {longHex, inf},
    };
    for (const Extreme &c : cases) {
        const double value = NumericValue(c.text);
        EXPECT_FALSE(std::isnan(value)) << c.text.left(40).toStdString();
        EXPECT_EQ(value, c.expected) << c.text.left(40).toStdString();
    }

    // Long but representable: large and finite, not pushed to inf.
    const double big = NumericValue(QString(300, u'9'));
    EXPECT_TRUE(std::isfinite(big));
    EXPECT_GT(big, 9.99e299);
}

} // namespace
} // namespace torumin
