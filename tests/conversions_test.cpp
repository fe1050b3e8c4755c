#include "calculator/conversions.h"

#include "platform/exceptions.h"
#include "platform/fp_faults.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <typeinfo>

namespace {

using calculator::FormatReal;
using calculator::ParseReal;
using calculator::ParseWhole;
using calculator::RoundToDigit;
using calculator::ScaledParameter;

constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();
constexpr long double kInf = std::numeric_limits<long double>::infinity();

// The factor RoundToDigit uses for four decimals: 1/10^4 stored as a double.
const long double kTenThousandth = static_cast<double>(1 / 10000.0L);

std::string Shown(const std::string &text)
{
    return testing::PrintToString(text);
}

// The exact exception type and message, nothing derived or merely similar.
template <typename Expected, typename Action>
testing::AssertionResult Raises(Action action, const std::string &message)
{
    try {
        action();
    } catch (const std::exception &e) {
        if (typeid(e) != typeid(Expected))
            return testing::AssertionFailure() << "raised " << typeid(e).name() << " \"" << e.what() << "\"";
        // what() is a C string: a NUL in the text ends the message there.
        if (e.what() != std::string(message.c_str()))
            return testing::AssertionFailure() << "message \"" << e.what() << "\", expected \"" << message << "\"";
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "no exception";
}

std::string NotReal(const std::string &text)
{
    return "'" + text + "' is not a valid floating point value";
}

std::string NotWhole(const std::string &text)
{
    return "'" + text + "' is not a valid integer value";
}

class CommaSeparator : public testing::Test {
protected:
    void SetUp() override { calculator::SetDecimalSeparator(','); }
    void TearDown() override { calculator::SetDecimalSeparator('.'); }
};

struct RealCase {
    std::string text;
    long double value;
};

void ExpectParses(const RealCase &c)
{
    try {
        const long double value = ParseReal(c.text);
        EXPECT_EQ(value, c.value) << "text " << Shown(c.text);
        EXPECT_EQ(std::signbit(value), std::signbit(c.value)) << "text " << Shown(c.text);
    } catch (const std::exception &e) {
        ADD_FAILURE() << "text " << Shown(c.text) << " raised \"" << e.what() << "\"";
    }
}

TEST(ParseReal, ReadsTheGrammarAtExtendedPrecision)
{
    const RealCase cases[] = {
        {"2.5", 2.5L},
        {"0.1", 0.1L},
        {"3", 3},
        {"-0.25", -0.25L},
        {"+7", 7},
        {"00012", 12},
        {"5.", 5},
        {".5", 0.5L},
        {".", 0},
        {"+.", 0},
        {"-.", -0.0L},
        {"   12", 12},
        {"12   ", 12},
        {"  -3.25e2  ", -325},
        {"1.5E3", 1500},
        {"1.5e+3", 1500},
        {"15e-1", 1.5L},
        {"1e", 1},
        {"1e+", 1},
        {"1E-", 1},
        {".e5", 0},
        {"1e0000000000003", 1000},
        {"1e499", 1e499L},
        {"1e500", 1e500L},
        {"1e0500", 1e500L},
        {"1e-500", 1e-500L},
        {"5e4931", 5e4931L},
        {"1e4000", 1e4000L},
        {"1e400", 1e400L},
        {"1e-4999", 0},
        {"12345678901234567890123", 12345678901234567890123.0L},
    };
    for (const RealCase &c : cases)
        ExpectParses(c);
}

TEST(ParseReal, RejectsTextsOutsideTheGrammarOrRange)
{
    const std::string cases[] = {
        "", " ", "   ", "-", "+", "e5", "E", "-e1",
        "1e5000", "1e-5000", "1e5001", "1e05000", "1e4999", "1e9999",
        std::string(5000, '9'),
        "1.5e3x", "x1", "1 5", "1 e5", "1e 5", "- 1", "1 .5",
        "1..5", "1.5.", "..", "1,5", "1.000,5", "++1", "+-1", "1e++5", "1e5.5", "1e5e5",
        "0x10", "$1", "inf", "nan", "INF", "1_000", "1'000",
        "\t1", "1\t", "1\n", "\n", std::string("1\0", 2), std::string("\0", 1),
        "\xEF\xBC\x91",   // fullwidth digit one
        "1\xC2\xA0",      // no-break space
        "\xC2\xBD",       // one half
        "1\xE2\x80\xAF",  // narrow no-break space
        "\xFF",
    };
    for (const std::string &text : cases)
        EXPECT_TRUE(Raises<platform::EConvertError>([&] { ParseReal(text); }, NotReal(text))) << "text " << Shown(text);
}

TEST(ParseReal, AnOverflowingTextLeavesNoFaultBehind)
{
    platform::ClearStaleFaults();
    EXPECT_THROW(ParseReal("1" + std::string(6000, '0')), platform::EConvertError);
    EXPECT_THROW(ParseReal("1e4999"), platform::EConvertError);
    EXPECT_NO_THROW(ParseReal("1e-4999"));
    EXPECT_NO_THROW(platform::RaisePendingFault());
}

TEST_F(CommaSeparator, ReadsAndWritesTheComma)
{
    const RealCase accepted[] = {
        {"2,5", 2.5L}, {",", 0}, {"-,5e1", -5}, {"1,5E3", 1500}, {" 3, ", 3}, {"7", 7},
    };
    for (const RealCase &c : accepted)
        ExpectParses(c);

    const std::string rejected[] = {"2.5", ".", "1.000,5", "1,000,5", "1 000,5", "2,5.", ",,"};
    for (const std::string &text : rejected)
        EXPECT_TRUE(Raises<platform::EConvertError>([&] { ParseReal(text); }, NotReal(text))) << "text " << Shown(text);

    EXPECT_EQ(FormatReal(2.5L), "2,5");
    EXPECT_EQ(FormatReal(-0.25L), "-0,25");
    EXPECT_EQ(FormatReal(1.5e20L), "1,5E20");
    EXPECT_EQ(FormatReal(-2.5e-7L), "-2,5E-7");
    EXPECT_EQ(FormatReal(1234567.0L), "1234567");
}

// Qt sets LC_NUMERIC from the environment; the conversions must not follow it.
TEST(Conversions, IgnoreTheProcessNumericLocale)
{
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const char *commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE", "nl_NL.UTF-8"};
    const char *found = nullptr;
    for (const char *name : commaLocales) {
        if (std::setlocale(LC_NUMERIC, name)) {
            found = name;
            break;
        }
    }
    if (!found)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    const long double parsed = ParseReal("2.5");
    const std::string written = FormatReal(1.25L);
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(parsed, 2.5L) << found;
    EXPECT_EQ(written, "1.25") << found;
}

struct WholeCase {
    std::string text;
    std::int32_t value;
};

TEST(ParseWhole, ReadsDecimalAndHexadecimal)
{
    const WholeCase cases[] = {
        {"0", 0},
        {"-0", 0},
        {"+7", 7},
        {"  42", 42},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"000000000000002147483647", 2147483647},
        {"$FF", 255},
        {"xff", 255},
        {"X1F", 31},
        {"0x10", 16},
        {"0X10", 16},
        {"  $10", 16},
        {"$aBcD", 0xABCD},
        {"0x0", 0},
        {"$00000001", 1},
        {"0x7FFFFFFF", 2147483647},
        {"0X80000000", -2147483647 - 1},
        {"$FFFFFFFF", -1},
        {"xFFFFFFFE", -2},
    };
    for (const WholeCase &c : cases) {
        try {
            EXPECT_EQ(ParseWhole(c.text), c.value) << "text " << Shown(c.text);
        } catch (const std::exception &e) {
            ADD_FAILURE() << "text " << Shown(c.text) << " raised \"" << e.what() << "\"";
        }
    }
}

TEST(ParseWhole, RejectsOtherTextsAndValuesBeyond32Bits)
{
    const std::string cases[] = {
        "", " ", "+", "-", "- 1", "--1", "1 ", " 1 ", "1.0", "1.", "1e3", "1,000", "\t1",
        "2147483648", "-2147483649", "99999999999999999999", "4294967295",
        "-0x10", "+$10", "-$1", "+x1", "$", "0x", "x", "X", "$ 1", "0x 1", "00x1", "0$1", "1x",
        "$100000000", "$000000001", "0x123456789", "0x1G", "$-1", "$+1", "\xEF\xBC\x91",
        std::string("1\0", 2),
    };
    for (const std::string &text : cases)
        EXPECT_TRUE(Raises<platform::EConvertError>([&] { ParseWhole(text); }, NotWhole(text)))
            << "text " << Shown(text);
}

struct RoundCase {
    long double x;
    int d;
    long double expected; // n x f, stored as a double by the comparison
};

TEST(RoundToDigit, RoundsToAMultipleOfThePowerWithTiesToEven)
{
    const RoundCase cases[] = {
        {12.5L, 0, 12},
        {13.5L, 0, 14},
        {-12.5L, 0, -12},
        {-13.5L, 0, -14},
        {0.5L, 0, 0},
        {1.5L, 0, 2},
        {2.4999999L, 0, 2},
        {-0.4L, 0, 0},
        {2.5L * kTenThousandth, -4, 2 * kTenThousandth},
        {3.5L * kTenThousandth, -4, 4 * kTenThousandth},
        {-2.5L * kTenThousandth, -4, -2 * kTenThousandth},
        {1.23456L, -4, 12346 * kTenThousandth},
        {0.12345678L, -4, 1235 * kTenThousandth},
        {10.45047L, -4, 104505 * kTenThousandth},
        {25, 1, 20},
        {35, 1, 40},
        {1234.5L, 2, 1200},
        {0x1p63L - 1, 0, 0x1p63},
        {-(0x1p63L - 1), 0, -0x1p63},
        {9.2e14L, -4, 9200000000000000000 * kTenThousandth},
        {1e300L, 300, 1e300},
    };
    for (const RoundCase &c : cases) {
        try {
            EXPECT_EQ(RoundToDigit(c.x, c.d), static_cast<double>(c.expected))
                << "x " << static_cast<double>(c.x) << ", d " << c.d;
        } catch (const std::exception &e) {
            ADD_FAILURE() << "x " << static_cast<double>(c.x) << ", d " << c.d << " raised \"" << e.what() << "\"";
        }
    }
}

TEST(RoundToDigit, QuotientsFrom2To63AndNaNsAreInvalid)
{
    const RoundCase cases[] = {
        {0x1p63L, 0, 0}, {-0x1p63L, 0, 0}, {9.3e14L, -4, 0}, {-9.3e14L, -4, 0}, {1e400L, 0, 0},
        {kNaN, 0, 0},    {kInf, 0, 0},     {-kInf, -4, 0},
    };
    for (const RoundCase &c : cases) {
        EXPECT_TRUE(Raises<platform::EInvalidOp>([&] { RoundToDigit(c.x, c.d); }, "Invalid floating point operation"))
            << "x " << static_cast<double>(c.x) << ", d " << c.d;
    }
}

TEST(RoundToDigit, AProductBeyondTheDoubleRangeOverflows)
{
    EXPECT_TRUE(Raises<platform::EOverflow>([] { RoundToDigit(1e300L, 309); }, "Floating point overflow"));
    EXPECT_TRUE(Raises<platform::EOverflow>([] { RoundToDigit(1e326L, 308); }, "Floating point overflow"));
}

struct FormatCase {
    long double x;
    std::string text;
};

TEST(FormatReal, WritesFifteenSignificantDigitsInTheGeneralFormat)
{
    const FormatCase cases[] = {
        {0, "0"},
        {-0.0L, "0"},
        {3, "3"},
        {2.5L, "2.5"},
        {-0.25L, "-0.25"},
        {100, "100"},
        {0.1L, "0.1"},
        {1.0L / 3, "0.333333333333333"},
        {-2.0L / 3, "-0.666666666666667"},
        {-1234.5678L, "-1234.5678"},
        {0.0001L, "0.0001"},
        {-0.0001L, "-0.0001"},
        {0.00009999999999999999L, "0.0001"},
        {-0.00009999999999999999L, "-0.0001"},
        {0.0000999999999999L, "9.99999999999E-5"},
        {0.00012345678901234567L, "0.000123456789012346"},
        {0.00001L, "1E-5"},
        {-2.5e-7L, "-2.5E-7"},
        {999999999999999.4L, "999999999999999"},
        {-999999999999999.4L, "-999999999999999"},
        {999999999999999.5L, "1E15"},
        {1e14L, "100000000000000"},
        {1e15L, "1E15"},
        {-1e15L, "-1E15"},
        {1.5e20L, "1.5E20"},
        {123456789012345678.0L, "1.23456789012346E17"},
        {1e-300L, "1E-300"},
        {1e4000L, "1E4000"},
        {LDBL_MAX, "1.18973149535723E4932"},
        {LDBL_TRUE_MIN, "3.64519953188247E-4951"},
        {kNaN, "NAN"},
        {kInf, "INF"},
        {-kInf, "-INF"},
    };
    for (const FormatCase &c : cases)
        EXPECT_EQ(FormatReal(c.x), c.text) << "x " << static_cast<double>(c.x);
}

TEST(FormatReal, ShowsRoundedResultsWithoutTrailingZeros)
{
    struct DisplayCase {
        long double x;
        int d;
        std::string text;
    };
    const DisplayCase cases[] = {
        {1.23456L, -4, "1.2346"}, {0.1L + 0.2L, -4, "0.3"}, {2.00004999L, -4, "2"},
        {12.5L, 0, "12"},         {-7.25L, -4, "-7.25"},
    };
    for (const DisplayCase &c : cases)
        EXPECT_EQ(FormatReal(RoundToDigit(c.x, c.d)), c.text) << "x " << static_cast<double>(c.x) << ", d " << c.d;
}

TEST(ScaledParameter, FormsTheProductAtExtendedPrecisionAndStoresItAsADouble)
{
    EXPECT_EQ(ScaledParameter(ParseReal("3"), calculator::kPercent), static_cast<double>(3 * 0.01L));
    EXPECT_EQ(ScaledParameter(ParseReal("30"), calculator::kYearsPerDay), static_cast<double>(30 / 360.0L));
    EXPECT_EQ(ScaledParameter(ParseReal("1e-400"), calculator::kPercent), 0.0);

    const long double huge = ParseReal("1e400");
    EXPECT_TRUE(
        Raises<platform::EOverflow>([&] { ScaledParameter(huge, calculator::kPercent); }, "Floating point overflow"));
    EXPECT_TRUE(Raises<platform::EOverflow>([] { ScaledParameter(LDBL_MAX, 2); }, "Floating point overflow"));
}

} // namespace
