#include "window_fixture.h"

#include "calculator/conversions.h"
#include "pricing/black_scholes.h"

#include <QLineEdit>
#include <QRadioButton>

#include <ostream>

namespace {

struct Outputs {
    QString price, delta, gamma, theta, vega;

    bool operator==(const Outputs &other) const = default;
};

void PrintTo(const Outputs &o, std::ostream *os)
{
    *os << "{price " << o.price.toStdString() << ", delta " << o.delta.toStdString() << ", gamma "
        << o.gamma.toStdString() << ", theta " << o.theta.toStdString() << ", vega " << o.vega.toStdString() << "}";
}

// The texts price mode must show, from the engine directly.
Outputs FromEngine(bool call, double S, double K, double r, double sigma, double T, double D)
{
    const auto text = [](double x) {
        return QString::fromStdString(calculator::FormatReal(calculator::RoundToDigit(x, -4)));
    };
    double delta, gamma, theta, vega, rho;
    const double value =
        call ? pricing::CallPriceDiv(S, K, r, sigma, T, D) : pricing::PutPriceDiv(S, K, r, sigma, T, D);
    if (call)
        pricing::CallGreeksDiv(S, K, r, sigma, T, D, delta, gamma, theta, vega, rho);
    else
        pricing::PutGreeksDiv(S, K, r, sigma, T, D, delta, gamma, theta, vega, rho);
    return {text(value), text(delta), text(gamma), text(theta),
            text(calculator::ScaledParameter(vega, calculator::kPercent))};
}

class PriceModeTest : public WindowTest {
protected:
    Outputs Shown()
    {
        TMainForm &f = Form();
        return {f.EditOptPrice->text(), f.EditDelta->text(), f.EditGamma->text(), f.EditTheta->text(),
                f.EditVega->text()};
    }
};

const Outputs kCall25{"3.0015", "0.5282", "0.0551", "-0.0523", "0.1149"};
const Outputs kPut25{"2.7518", "-0.4718", "0.0551", "-0.044", "0.1149"};
const Outputs kNothing{};

struct PriceCase {
    const char *name;
    bool call;
    QString rate;
    QString dividend;
    Outputs expected;
};

std::ostream &operator<<(std::ostream &os, const PriceCase &c)
{
    os << c.name << " (" << (c.call ? "call" : "put") << ", 100/100/30, rate " << c.rate.toStdString()
       << ", dividend " << c.dividend.toStdString() << ", volatility 25)";
    return os;
}

class PriceExamples : public PriceModeTest, public testing::WithParamInterface<PriceCase> {};

// The call/put choice and the rate and dividend texts reach the engine as the
// user typed them: a swapped or dropped parameter changes these figures.
TEST_P(PriceExamples, TypingTheVolatilityShowsValueAndGreeks)
{
    const PriceCase &c = GetParam();
    if (!c.call)
        Click(Form().RadioButtonPut);
    Retype(Form().EditRate, c.rate);
    Retype(Form().EditDividend, c.dividend);
    TakeBoxes(); // the "-" of a negative rate, on its way
    EnterInputs("100", "100", "30");
    EXPECT_EQ(Shown(), kNothing) << "nothing may be computed before the volatility is typed";

    Type(Form().EditVol, "25");

    EXPECT_EQ(Shown(), c.expected) << GetParam();
    EXPECT_EQ(Form().EditVol->text(), "25");
}

INSTANTIATE_TEST_SUITE_P(
    Figures, PriceExamples,
    testing::Values(PriceCase{"worked call", true, "3", "0", kCall25},
                    PriceCase{"worked put", false, "3", "0", kPut25},
                    PriceCase{"zero rate", true, "0", "0", FromEngine(true, 100, 100, 0, 0.25, 30.0L / 360, 0)},
                    PriceCase{"negative rate", false, "-1", "0",
                              FromEngine(false, 100, 100, -0.01, 0.25, 30.0L / 360, 0)},
                    PriceCase{"dividend", true, "3", "2",
                              FromEngine(true, 100, 100, 0.03, 0.25, 30.0L / 360, 2)},
                    PriceCase{"lone separator rate", true, ".", "0",
                              FromEngine(true, 100, 100, 0, 0.25, 30.0L / 360, 0)}));

struct StopCase {
    QString life, security, strike, volatility;
};

std::ostream &operator<<(std::ostream &os, const StopCase &c)
{
    return os << "life " << c.life.toStdString() << ", security " << c.security.toStdString() << ", strike "
              << c.strike.toStdString() << ", volatility " << c.volatility.toStdString();
}

class PriceStops : public PriceModeTest, public testing::WithParamInterface<StopCase> {};

TEST_P(PriceStops, NonPositiveInputStopsSilently)
{
    const StopCase &c = GetParam();
    EnterInputs(c.security, c.strike, c.life);
    TakeBoxes(); // a "-" typed on the way is its own handler's error, not the mode's

    Type(Form().EditVol, c.volatility);

    EXPECT_EQ(Shown(), kNothing) << c;
    EXPECT_EQ(TakeBoxes(), std::vector<RecordedBox>{}) << c;
}

INSTANTIATE_TEST_SUITE_P(Inputs, PriceStops,
                         testing::Values(StopCase{"0", "100", "100", "25"}, StopCase{"30", "100", "100", "0"},
                                         StopCase{"30", "100", "-5", "25"}, StopCase{"30", "0", "100", "25"},
                                         StopCase{"30", ".", "100", "25"}, StopCase{"30", "100", "100", "."}));

TEST_F(PriceModeTest, EmptyDividendShowsItsConversionErrorOnEveryKeystroke)
{
    EnterInputs("100", "100", "30");
    Erase(Form().EditDividend);
    EXPECT_EQ(TakeBoxes(), std::vector<RecordedBox>{}) << "emptying a field validates nothing";

    Type(Form().EditVol, "25");

    const RecordedBox error = ErrorBox("'' is not a valid floating point value.");
    EXPECT_EQ(TakeBoxes(), (std::vector<RecordedBox>{error, error}));
    EXPECT_EQ(Shown(), kNothing);
}

TEST_F(PriceModeTest, SwitchingKindRewritesValueDeltaAndTheta)
{
    EnterInputs("100", "100", "30");
    Type(Form().EditVol, "25");
    ASSERT_EQ(Shown(), kCall25);

    Click(Form().RadioButtonPut);
    EXPECT_EQ(Shown(), kPut25);
    EXPECT_EQ(Form().focusWidget(), Form().RadioButtonPut);

    Click(Form().RadioButtonCall);
    EXPECT_EQ(Shown(), kCall25);
}

TEST_F(PriceModeTest, StrikeBeyondTheDoubleRangeOverflowsWhenStored)
{
    EnterInputs("100", "1e400", "30");
    EXPECT_EQ(TakeBoxes(), std::vector<RecordedBox>{}) << "1e400 is valid at extended precision";

    Type(Form().EditVol, "2");

    EXPECT_EQ(TakeBoxes(), std::vector<RecordedBox>{ErrorBox("Floating point overflow.")});
    EXPECT_EQ(Shown(), kNothing);
}

TEST_F(PriceModeTest, ValueTooLargeToRoundWritesNothing)
{
    EnterInputs("1e16", "1", "30");
    Type(Form().EditVol, "2");

    EXPECT_EQ(TakeBoxes(), (std::vector<RecordedBox>{ErrorBox("Invalid floating point operation.")}));
    EXPECT_EQ(Shown(), kNothing);
}


// The dividend taken off the security price leaves it at or below zero: the
// engine's logarithm reports first, then the fault ends the mode.
TEST_F(PriceModeTest, DividendBeyondTheSecurityPriceFaultsBeforeAnythingIsWritten)
{
    EnterInputs("100", "100", "30");
    Type(Form().EditVol, "25");
    Retype(Form().EditDividend, "20");
    const Outputs before = Shown();
    ASSERT_EQ(TakeBoxes(), std::vector<RecordedBox>{});

    Type(Form().EditDividend, "0");

    EXPECT_EQ(TakeBoxes(), (std::vector<RecordedBox>{MathReportBox("log: DOMAIN error"),
                                                     ErrorBox("Invalid floating point operation.")}));
    EXPECT_EQ(Shown(), before);
}

TEST_F(PriceModeTest, DividendEqualToTheSecurityPriceKeepsTheValueWrittenBeforeTheFault)
{
    Retype(Form().EditRate, "0");
    EnterInputs("100", "100", "30");
    Type(Form().EditVol, "25");
    Retype(Form().EditDividend, "10");
    const Outputs before = Shown();
    ASSERT_EQ(before, FromEngine(true, 100, 100, 0, 0.25, 30.0L / 360, 10));

    Type(Form().EditDividend, "0");

    const RecordedBox sing = MathReportBox("log: SING error");
    EXPECT_EQ(TakeBoxes(), (std::vector<RecordedBox>{sing, sing, ErrorBox("Invalid floating point operation.")}));
    // The Greeks fault inside the engine, before any of them reaches its field.
    EXPECT_EQ(Shown(), (Outputs{"0", before.delta, before.gamma, before.theta, before.vega}));
}

} // namespace
