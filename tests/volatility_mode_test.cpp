#include "window_fixture.h"

#include "calculator/conversions.h"
#include "pricing/black_scholes.h"
#include "pricing/implied_volatility.h"

#include <QLineEdit>
#include <QRadioButton>

#include <ostream>

namespace {

struct Outputs {
    QString volatility, delta, gamma, theta, vega;

    bool operator==(const Outputs &other) const = default;
};

void PrintTo(const Outputs &o, std::ostream *os)
{
    *os << "{volatility " << o.volatility.toStdString() << ", delta " << o.delta.toStdString() << ", gamma "
        << o.gamma.toStdString() << ", theta " << o.theta.toStdString() << ", vega " << o.vega.toStdString() << "}";
}

QString Rounded(double x, int digit)
{
    return QString::fromStdString(calculator::FormatReal(calculator::RoundToDigit(x, digit)));
}

// The whole-percent volatility text the solver's answer gives.
QString SolvedText(bool call, double S, double K, double r, double T, double price)
{
    const double sigma = call ? pricing::CallImpliedVol(S, K, r, T, price) : pricing::PutImpliedVol(S, K, r, T, price);
    return Rounded(sigma * 100, 0);
}

class VolatilityModeTest : public WindowTest {
protected:
    Outputs Shown()
    {
        TMainForm &f = Form();
        return {f.EditVol->text(), f.EditDelta->text(), f.EditGamma->text(), f.EditTheta->text(), f.EditVega->text()};
    }
};

const double kT30 = 30.0L / 360;

TEST_F(VolatilityModeTest, MarketPriceOfTheWorkedCallSolvesToItsVolatility)
{
    EnterInputs("100", "100", "30");

    Type(Form().EditOptPrice, "3.0015");

    EXPECT_EQ(Shown(), (Outputs{"25", "0.5282", "0.0551", "-0.0523", "0.1149"}));
    EXPECT_EQ(Form().EditOptPrice->text(), "3.0015") << "the market price stays as typed";
}

TEST_F(VolatilityModeTest, PutPricedAboveTheDiscountedStrikeFailsAndKeepsThePreviousVolatility)
{
    Click(Form().RadioButtonPut);
    EnterInputs("100", "100", "30");

    Type(Form().EditOptPrice, "10");
    const Outputs found = Shown();
    ASSERT_EQ(found.volatility, SolvedText(false, 100, 100, 0.03, kT30, 10));
    ASSERT_EQ(TakeBoxes(), std::vector<RecordedBox>{});

    Type(Form().EditOptPrice, "0");

    EXPECT_EQ(TakeBoxes(), std::vector<RecordedBox>{ErrorBox("Invalid floating point operation.")});
    EXPECT_EQ(Shown(), found);
}

TEST_F(VolatilityModeTest, CallBelowItsLowerBoundShowsTheFloorAsZero)
{
    EnterInputs("120", "100", "30");

    Type(Form().EditOptPrice, "19");

    double delta, gamma, theta, vega, rho;
    pricing::CallGreeks(120, 100, 0.03, pricing::kVolFloor, kT30, delta, gamma, theta, vega, rho);
    EXPECT_EQ(Shown(), (Outputs{"0", Rounded(delta, -4), Rounded(gamma, -4), Rounded(theta, -4),
                                Rounded(calculator::ScaledParameter(vega, calculator::kPercent), -4)}));
}

struct StopCase {
    QString life, price;
};

std::ostream &operator<<(std::ostream &os, const StopCase &c)
{
    return os << "life \"" << c.life.toStdString() << "\", option price " << c.price.toStdString();
}

class VolatilityStops : public VolatilityModeTest, public testing::WithParamInterface<StopCase> {};

TEST_P(VolatilityStops, NothingIsWrittenAndNothingShown)
{
    EnterInputs("100", "100", GetParam().life);

    Type(Form().EditOptPrice, GetParam().price);

    EXPECT_EQ(Shown(), Outputs{}) << GetParam();
    EXPECT_EQ(TakeBoxes(), std::vector<RecordedBox>{}) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Inputs, VolatilityStops,
                         testing::Values(StopCase{"30", "0"}, StopCase{"0", "3"}, StopCase{"", "3"},
                                         StopCase{"30", "."}));

// The whole percentage the solver left is what price mode reads next.
TEST_F(VolatilityModeTest, WorkingInAnotherFieldPricesAtTheWholePercentage)
{
    EnterInputs("100", "100", "30");
    Type(Form().EditOptPrice, "3.02");
    ASSERT_EQ(Form().EditVol->text(), "25");

    Type(Form().EditStrike, "1");
    Backspace(Form().EditStrike);

    EXPECT_EQ(Form().EditOptPrice->text(), "3.0015");
    EXPECT_EQ(Form().EditVol->text(), "25");
}

} // namespace
