#include "platform/checked_math.h"
#include "platform/exceptions.h"
#include "platform/fp_faults.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using platform::Exp;
using platform::Log;
using platform::Sqrt;

class CheckedMathTest : public testing::Test {
protected:
    void SetUp() override
    {
        platform::ClearStaleFaults();
        platform::SetMathErrorReporter([this](const std::string &m) { reports.push_back(m); });
    }
    void TearDown() override { platform::SetMathErrorReporter({}); }

    std::vector<std::string> reports;
};

TEST_F(CheckedMathTest, SpecialArgumentsReportAndGoOnWithTheirValues)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char *name;
        double (*f)(double);
        double x;
        double expected; // NaN: any NaN
        const char *report;
    };
    const Case cases[] = {
        {"log 0", Log, 0.0, -inf, "log: SING error"},
        {"log -0", Log, -0.0, -inf, "log: SING error"},
        {"log -1", Log, -1.0, NAN, "log: DOMAIN error"},
        {"exp 709.79", Exp, 709.79, inf, "exp: OVERFLOW error"},
        {"exp 1e300", Exp, 1e300, inf, "exp: OVERFLOW error"},
        {"sqrt -1e-300", Sqrt, -1e-300, NAN, "sqrt: DOMAIN error"},
        {"exp -708.4", Exp, -708.4, 0.0, nullptr},
        {"exp -1e300", Exp, -1e300, 0.0, nullptr},
        {"exp 709.78", Exp, 709.78, std::exp(709.78), nullptr},
        {"log 1", Log, 1.0, 0.0, nullptr},
        {"sqrt -0", Sqrt, -0.0, -0.0, nullptr},
    };
    for (const Case &c : cases) {
        reports.clear();
        const double got = c.f(c.x);
        if (std::isnan(c.expected))
            EXPECT_TRUE(std::isnan(got)) << c.name << " gave " << got;
        else
            EXPECT_EQ(got, c.expected) << c.name;
        EXPECT_EQ(reports, c.report ? std::vector<std::string>{c.report} : std::vector<std::string>{}) << c.name;
        // The report is the whole effect: nothing is left to trap later.
        EXPECT_NO_THROW(platform::RaisePendingFault()) << c.name;
    }
}

TEST_F(CheckedMathTest, AFaultBeforeAReportRaisesInsteadOfReporting)
{
    volatile double zero = 0.0;
    volatile double quotient = 1.0 / zero;
    (void)quotient;
    EXPECT_THROW(Log(0.0), platform::EZeroDivide);
    EXPECT_TRUE(reports.empty());
    EXPECT_NO_THROW(platform::RaisePendingFault());
}

TEST(CheckedMathDefault, WithoutAReporterTheReportGoesToStandardError)
{
    testing::internal::CaptureStderr();
    Sqrt(-4.0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "sqrt: DOMAIN error\n");
}

} // namespace
