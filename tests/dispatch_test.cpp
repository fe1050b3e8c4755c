#include "window_fixture.h"

#include "calculator/conversions.h"
#include "platform/line_series.h"
#include "pricing/black_scholes.h"
#include "pricing/implied_volatility.h"

#include <QLineEdit>
#include <QRadioButton>

#include <ostream>

namespace {

struct Outputs {
    QString price, volatility, delta, gamma, theta, vega;

    bool operator==(const Outputs &other) const = default;
};

void PrintTo(const Outputs &o, std::ostream *os)
{
    *os << "{price " << o.price.toStdString() << ", volatility " << o.volatility.toStdString() << ", delta "
        << o.delta.toStdString() << ", gamma " << o.gamma.toStdString() << ", theta " << o.theta.toStdString()
        << ", vega " << o.vega.toStdString() << "}";
}

QString Rounded(double x, int digit)
{
    return QString::fromStdString(calculator::FormatReal(calculator::RoundToDigit(x, digit)));
}

const double kT30 = 30.0L / 360;

RecordedBox NotAReal(const QString &text)
{
    return ErrorBox(QStringLiteral("'%1' is not a valid floating point value.").arg(text));
}

class DispatchTest : public WindowTest {
protected:
    Outputs Shown()
    {
        TMainForm &f = Form();
        return {f.EditOptPrice->text(), f.EditVol->text(),   f.EditDelta->text(),
                f.EditGamma->text(),    f.EditTheta->text(), f.EditVega->text()};
    }

    // 100 / 100 / 30 priced at 25 %, the chart drawn.
    void PriceWorkedCall()
    {
        EnterInputs("100", "100", "30");
        Type(Form().EditVol, "25");
        ASSERT_EQ(Shown(), kCall25);
    }

    static inline const Outputs kCall25{"3.0015", "25", "0.5282", "0.0551", "-0.0523", "0.1149"};
};

TEST_F(DispatchTest, AtStartRateAndDividendComputeNothing)
{
    Type(Form().EditRate, "5");
    Type(Form().EditDividend, "1");

    EXPECT_EQ(Shown(), Outputs{});
    EXPECT_EQ(Form().LineSeries2->count(), 0) << "the chart must not be drawn";
}

TEST_F(DispatchTest, EachKeystrokeRecomputesAndTheFocusChoosesTheMode)
{
    EnterInputs("100", "100", "30");

    Type(Form().EditVol, "2");
    EXPECT_EQ(Form().EditOptPrice->text(), Rounded(pricing::CallPrice(100, 100, 0.03, 0.02, kT30), -4));
    Type(Form().EditVol, "5");
    EXPECT_EQ(Shown(), kCall25);
    EXPECT_GT(Form().LineSeries2->count(), 0) << "price mode is followed by the chart";

    Retype(Form().EditOptPrice, "4");
    EXPECT_EQ(Form().EditVol->text(), Rounded(pricing::CallImpliedVol(100, 100, 0.03, kT30, 4) * 100, 0));
    EXPECT_EQ(Form().EditOptPrice->text(), "4");
}

// Each mode fills the other's input; the solver's round trip would then show
// in the field the user typed in.
TEST_F(DispatchTest, OnlyTheModeOfTheFocusedFieldRuns)
{
    EnterInputs("100", "100", "30");
    Type(Form().EditVol, "25.4");
    EXPECT_EQ(Form().EditVol->text(), "25.4") << "implied-volatility mode ran on price mode's output";
    EXPECT_EQ(Form().EditOptPrice->text(), Rounded(pricing::CallPrice(100, 100, 0.03, 0.254, kT30), -4));

    Retype(Form().EditOptPrice, "3.02");
    EXPECT_EQ(Form().EditVol->text(), "25");
    EXPECT_EQ(Form().EditOptPrice->text(), "3.02") << "price mode ran on implied-volatility mode's output";
}

struct MinusCase {
    const char *name;
    QLineEdit *TMainForm::*field;
    bool recomputes; // whether "-5" is a value the modes take as it is
};

std::ostream &operator<<(std::ostream &os, const MinusCase &c)
{
    return os << c.name;
}

class MinusFirst : public DispatchTest, public testing::WithParamInterface<MinusCase> {};

TEST_P(MinusFirst, LoneMinusIsRejectedAndMinusFiveValidates)
{
    PriceWorkedCall();
    QLineEdit *field = Form().*GetParam().field;
    const Outputs before = Shown();

    Retype(field, "-");

    EXPECT_EQ(TakeBoxes(), std::vector<RecordedBox>{NotAReal("-")}) << GetParam();
    EXPECT_EQ(field->text(), "-") << GetParam();
    Outputs expected = before;
    expected.price = field == Form().EditOptPrice ? "-" : before.price;
    expected.volatility = field == Form().EditVol ? "-" : before.volatility;
    EXPECT_EQ(Shown(), expected) << GetParam();

    Type(field, "5");

    EXPECT_EQ(TakeBoxes(), std::vector<RecordedBox>{}) << GetParam();
    if (GetParam().recomputes)
        EXPECT_NE(Shown().price, before.price) << GetParam();
    else
        EXPECT_EQ(Shown().price, field == Form().EditOptPrice ? "-5" : before.price) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Fields, MinusFirst,
                         testing::Values(MinusCase{"security price", &TMainForm::EditSecurityPrice, false},
                                         MinusCase{"strike", &TMainForm::EditStrike, false},
                                         MinusCase{"volatility", &TMainForm::EditVol, false},
                                         MinusCase{"option price", &TMainForm::EditOptPrice, false},
                                         MinusCase{"rate", &TMainForm::EditRate, true},
                                         MinusCase{"dividend", &TMainForm::EditDividend, true}));

class EmptiedUnchecked : public DispatchTest, public testing::WithParamInterface<MinusCase> {};

// Rate and dividend are validated by their own handlers only when not empty;
// the next mode that converts them reports the empty text.
TEST_P(EmptiedUnchecked, EmptyTextIsReportedByTheNextRecalculation)
{
    PriceWorkedCall();

    Erase(Form().*GetParam().field);
    EXPECT_EQ(TakeBoxes(), std::vector<RecordedBox>{}) << GetParam();
    EXPECT_EQ(Shown(), kCall25) << GetParam();

    Type(Form().EditStrike, "1");

    EXPECT_EQ(TakeBoxes(), std::vector<RecordedBox>{NotAReal("")}) << GetParam();
    EXPECT_EQ(Shown(), kCall25) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Fields, EmptiedUnchecked,
                         testing::Values(MinusCase{"rate", &TMainForm::EditRate, false},
                                         MinusCase{"dividend", &TMainForm::EditDividend, false}));

TEST_F(DispatchTest, RadioButtonTakesTheFocusSoPriceModeFollowsImpliedVolatility)
{
    EnterInputs("100", "100", "30");
    Type(Form().EditOptPrice, "3.02");
    ASSERT_EQ(Form().EditVol->text(), "25");

    Click(Form().RadioButtonPut);

    EXPECT_EQ(Shown(), (Outputs{"2.7518", "25", "-0.4718", "0.0551", "-0.044", "0.1149"}));
}

// Price mode stops at the life without reading the volatility; the
// dispatcher's own test after it does read it.
TEST_F(DispatchTest, FollowUpConversionReportsAnInvalidVolatility)
{
    EnterInputs("100", "100", "0");
    Type(Form().EditVol, "abc");
    EXPECT_EQ(TakeBoxes(), (std::vector<RecordedBox>{NotAReal("a"), NotAReal("ab"), NotAReal("abc")}));

    Type(Form().EditStrike, "1");

    EXPECT_EQ(TakeBoxes(), std::vector<RecordedBox>{NotAReal("abc")});
    EXPECT_EQ(Shown(), (Outputs{"", "abc", "", "", "", ""}));
}

TEST_F(DispatchTest, ClickingTheSelectedButtonRecomputesNothing)
{
    PriceWorkedCall();
    Form().EditDelta->setText("untouched");

    Click(Form().RadioButtonCall);

    EXPECT_EQ(Form().EditDelta->text(), "untouched");
    EXPECT_TRUE(Form().RadioButtonCall->isChecked());
}

} // namespace
