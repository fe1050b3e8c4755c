#include "platform/exceptions.h"
#include "platform/fp_faults.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace {

volatile double vzero = 0.0;
volatile double vhuge = 1e300;
volatile double vinf = INFINITY;

struct FaultCase {
    const char *name;
    std::function<void()> fault;
    std::string message;
};

TEST(FpFaults, EachFaultRaisesItsExceptionOnceAndIsCleared)
{
    const FaultCase cases[] = {
        {"1/0", [] { vzero = 1.0 / vzero; }, "Floating point division by zero"},
        {"0/0", [] { vzero = vzero / vzero; }, "Invalid floating point operation"},
        {"inf-inf", [] { vinf = vinf - vinf; }, "Invalid floating point operation"},
        {"1e300^2", [] { vhuge = vhuge * vhuge; }, "Floating point overflow"},
        {"1/0 then inf*0", [] { volatile double i = 1.0 / vzero; vzero = i * 0.0; }, "Floating point division by zero"},
    };
    for (const FaultCase &c : cases) {
        vzero = 0.0;
        vhuge = 1e300;
        vinf = INFINITY;
        platform::ClearStaleFaults();
        c.fault();
        try {
            platform::RaisePendingFault();
            ADD_FAILURE() << c.name << ": no exception";
        } catch (const platform::Exception &e) {
            EXPECT_EQ(e.what(), c.message) << c.name;
        }
        EXPECT_NO_THROW(platform::RaisePendingFault()) << c.name << ": flags left set";
    }
}

TEST(FpFaults, UnderflowAndInexactNeverRaise)
{
    platform::ClearStaleFaults();
    volatile double tiny = 1e-300;
    tiny = tiny * tiny;
    volatile double third = 1.0 / 3.0;
    (void)third;
    EXPECT_NO_THROW(platform::RaisePendingFault());
}

TEST(FpFaults, ComparingANaNIsAnInvalidOperation)
{
    EXPECT_NO_THROW(platform::RequireOrdered(INFINITY));
    EXPECT_THROW(platform::RequireOrdered(NAN), platform::EInvalidOp);
}

TEST(FpFaults, StoringAnExtendedValueBeyondTheDoubleRangeOverflows)
{
    EXPECT_EQ(platform::StoreDouble(1e308L), 1e308);
    EXPECT_EQ(platform::StoreDouble(1e-400L), 0.0);
    EXPECT_EQ(platform::StoreDouble(-INFINITY), -INFINITY);
    EXPECT_THROW(platform::StoreDouble(1e400L), platform::EOverflow);
    EXPECT_THROW(platform::StoreDouble(-1e400L), platform::EOverflow);
}

} // namespace
