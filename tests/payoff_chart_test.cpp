#include "window_fixture.h"

#include "platform/line_series.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QValueAxis>

#include <string>
#include <vector>

namespace {

std::string Describe(const QList<QPointF> &points)
{
    std::string text;
    for (const QPointF &p : points)
        text.append("(")
            .append(QString::number(p.x()).toStdString())
            .append(", ")
            .append(QString::number(p.y()).toStdString())
            .append(") ");
    return text;
}

QValueAxis *AxisOf(platform::TLineSeries *series, Qt::Orientation orientation)
{
    for (QAbstractAxis *axis : series->attachedAxes())
        if (axis->orientation() == orientation)
            return qobject_cast<QValueAxis *>(axis);
    return nullptr;
}

QList<QPointF> ZeroLineUnder(const QList<QPointF> &points)
{
    QList<QPointF> zero;
    for (const QPointF &p : points)
        zero.append(QPointF(p.x(), 0));
    return zero;
}

// What the chart shows, compared as a whole before and after an action.
struct ChartState {
    QList<QPointF> profit;
    QList<QPointF> zero;
    double left_min = 0;
    double left_max = 0;
    double bottom_min = 0;
    double bottom_max = 0;
    std::vector<calculator::TPayoffLeg> legs;

    bool operator==(const ChartState &other) const
    {
        if (legs.size() != other.legs.size())
            return false;
        for (std::size_t i = 0; i < legs.size(); ++i)
            if (legs[i].Strike != other.legs[i].Strike || legs[i].Premium != other.legs[i].Premium ||
                legs[i].IsLong != other.legs[i].IsLong || legs[i].IsCall != other.legs[i].IsCall)
                return false;
        return profit == other.profit && zero == other.zero && left_min == other.left_min &&
               left_max == other.left_max && bottom_min == other.bottom_min && bottom_max == other.bottom_max;
    }
};

void PrintTo(const ChartState &s, std::ostream *os)
{
    *os << "profit " << Describe(s.profit) << "zero " << Describe(s.zero) << "left [" << s.left_min << ", "
        << s.left_max << "] bottom [" << s.bottom_min << ", " << s.bottom_max << "] legs";
    for (const auto &leg : s.legs)
        *os << " {" << leg.Strike << ", " << leg.Premium << (leg.IsLong ? ", long" : ", short")
            << (leg.IsCall ? ", call}" : ", put}");
}

class PayoffChartTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_NE(AxisOf(Form().LineSeries2, Qt::Vertical), nullptr);
        ASSERT_NE(AxisOf(Form().LineSeries1, Qt::Horizontal), nullptr);
    }

    ChartState Chart()
    {
        ChartState s;
        s.profit = Form().LineSeries2->points();
        s.zero = Form().LineSeries1->points();
        QValueAxis *left = AxisOf(Form().LineSeries2, Qt::Vertical);
        QValueAxis *bottom = AxisOf(Form().LineSeries1, Qt::Horizontal);
        s.left_min = left->min();
        s.left_max = left->max();
        s.bottom_min = bottom->min();
        s.bottom_max = bottom->max();
        for (const auto &leg : Form().Legs())
            s.legs.push_back(*leg);
        return s;
    }

    // A year's life keeps every market price below within what the solver reaches.
    void EnterOption(bool call, const QString &security, const QString &strike)
    {
        Retype(Form().EditLife, QStringLiteral("360"));
        if (!call)
            Click(Form().RadioButtonPut);
        Retype(Form().EditSecurityPrice, security);
        Retype(Form().EditStrike, strike);
    }

    // Typing a market price solves for the volatility, then redraws with that price as the premium.
    void DrawWithMarketPrice(bool call, const QString &security, const QString &strike, const QString &price)
    {
        EnterOption(call, security, strike);
        Retype(Form().EditOptPrice, price);
    }
};

struct ChartCase {
    const char *name;
    bool call;
    QString security;
    QString strike;
    QString price;
    QList<QPointF> profit; // in ascending x
    double range;          // the left axis runs from -range to +range
    calculator::TPayoffLeg first_leg;
    calculator::TPayoffLeg second_leg;
};

void PrintTo(const ChartCase &c, std::ostream *os)
{
    *os << c.name << ": " << (c.call ? "call" : "put") << " S=" << c.security.toStdString()
        << " K=" << c.strike.toStdString() << " P=" << c.price.toStdString();
}

class PayoffChartCaseTest : public PayoffChartTest, public testing::WithParamInterface<ChartCase> {};

TEST_P(PayoffChartCaseTest, DrawsTheBoughtOptionsProfitAndLoss)
{
    const ChartCase &c = GetParam();
    DrawWithMarketPrice(c.call, c.security, c.strike, c.price);
    ASSERT_EQ(Form().EditOptPrice->text(), c.price) << "the market price stays as typed";

    ChartState expected;
    expected.profit = c.profit;
    expected.zero = ZeroLineUnder(c.profit);
    expected.left_min = -c.range;
    expected.left_max = c.range;
    expected.bottom_min = c.profit.first().x();
    expected.bottom_max = c.profit.last().x();
    expected.legs = {c.first_leg, c.second_leg};
    EXPECT_EQ(Chart(), expected) << testing::PrintToString(c);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PayoffChartCaseTest,
    testing::Values(ChartCase{"call at the money",
                              true,
                              "100",
                              "100",
                              "5",
                              {{50, -500}, {100, -500}, {100, -500}, {100, -500}, {150, 4500}},
                              4500,
                              {100, 5, true, true},
                              {150, 0, false, true}},
                    ChartCase{"put at the money",
                              false,
                              "100",
                              "100",
                              "5",
                              {{50, 4500}, {100, -500}, {100, -500}, {100, -500}, {150, -500}},
                              4500,
                              {50, 0, false, false},
                              {100, 5, true, false}},
                    // 2K - R is negative: the line starts at a security price of 0, and the loss sets the axis.
                    ChartCase{"deep in the money call",
                              true,
                              "200",
                              "100",
                              "105",
                              {{0, -10500}, {100, -10500}, {100, -10500}, {200, -500}, {300, 9500}},
                              10500,
                              {100, 105, true, true},
                              {300, 0, false, true}},
                    ChartCase{"out of the money call",
                              true,
                              "50",
                              "100",
                              "1",
                              {{50, -100}, {50, -100}, {100, -100}, {100, -100}, {150, 4900}},
                              4900,
                              {100, 1, true, true},
                              {150, 0, false, true}}),
    [](const testing::TestParamInfo<ChartCase> &info) {
        std::string name = info.param.name;
        for (char &ch : name)
            if (ch == ' ')
                ch = '_';
        return name;
    });

TEST_F(PayoffChartTest, AZeroPremiumFromPriceModeDrawsAFlatLossOfNothing)
{
    // At the money, no interest and a vanishing volatility the value rounds to 0.
    Retype(Form().EditRate, QStringLiteral("0"));
    EnterOption(true, QStringLiteral("100"), QStringLiteral("100"));
    Retype(Form().EditVol, QStringLiteral("0.0001"));
    ASSERT_EQ(Form().EditOptPrice->text(), QStringLiteral("0"));

    const ChartState chart = Chart();
    EXPECT_EQ(chart.profit, (QList<QPointF>{{50, 0}, {100, 0}, {100, 0}, {100, 0}, {150, 5000}}))
        << testing::PrintToString(chart);
    EXPECT_EQ(chart.left_min, -5000);
    EXPECT_EQ(chart.left_max, 5000);
}

TEST_F(PayoffChartTest, RedrawsReplaceEverythingOncePerSeries)
{
    DrawWithMarketPrice(true, QStringLiteral("100"), QStringLiteral("100"), QStringLiteral("5"));
    QSignalSpy profit_replaced(Form().LineSeries2, &QXYSeries::pointsReplaced);
    QSignalSpy zero_replaced(Form().LineSeries1, &QXYSeries::pointsReplaced);

    const QStringList prices{"4", "6", "3", "7", "5"};
    for (const QString &price : prices)
        Retype(Form().EditOptPrice, price);
    EXPECT_EQ(profit_replaced.count(), prices.size());
    EXPECT_EQ(zero_replaced.count(), prices.size());

    Click(Form().RadioButtonPut);
    Click(Form().RadioButtonCall);
    Retype(Form().EditStrike, QStringLiteral("90"));
    EXPECT_EQ(profit_replaced.count(), prices.size() + 4) << "the two clicks and the two keystrokes each redraw once";

    const ChartState chart = Chart();
    ASSERT_EQ(chart.legs.size(), 2u);
    ASSERT_EQ(chart.profit.size(), 5) << Describe(chart.profit);
    ASSERT_EQ(chart.zero.size(), 5) << Describe(chart.zero);
    for (int i = 1; i < 5; ++i)
        EXPECT_LE(chart.profit[i - 1].x(), chart.profit[i].x()) << Describe(chart.profit);
    EXPECT_EQ(chart.zero, ZeroLineUnder(chart.profit));
    EXPECT_EQ(chart.legs[0].Strike, 90);
    EXPECT_EQ(chart.legs[1].Strike, 150);
}

struct StopCase {
    const char *field;
    QString text;
    std::vector<RecordedBox> boxes; // from the field's own validation while typing
};

void PrintTo(const StopCase &c, std::ostream *os)
{
    *os << c.field << " \"" << c.text.toStdString() << "\"";
}

class PayoffChartStopTest : public PayoffChartTest, public testing::WithParamInterface<StopCase> {
protected:
    QLineEdit *Field(const std::string &name)
    {
        if (name == "life")
            return Form().EditLife;
        if (name == "security price")
            return Form().EditSecurityPrice;
        return Form().EditStrike;
    }
};

TEST_P(PayoffChartStopTest, LeavesTheChartAsItWas)
{
    const StopCase &c = GetParam();
    DrawWithMarketPrice(true, QStringLiteral("100"), QStringLiteral("100"), QStringLiteral("5"));
    ASSERT_NE(Form().EditVol->text().toDouble(), 0) << "the redraw must be reached for the stop to mean anything";
    const ChartState before = Chart();
    QSignalSpy profit_replaced(Form().LineSeries2, &QXYSeries::pointsReplaced);
    QSignalSpy zero_replaced(Form().LineSeries1, &QXYSeries::pointsReplaced);

    Retype(Field(c.field), c.text);

    EXPECT_EQ(TakeBoxes(), c.boxes) << testing::PrintToString(c);
    EXPECT_EQ(Chart(), before) << testing::PrintToString(c);
    EXPECT_EQ(profit_replaced.count(), 0) << testing::PrintToString(c);
    EXPECT_EQ(zero_replaced.count(), 0) << testing::PrintToString(c);
}

INSTANTIATE_TEST_SUITE_P(
    EntryTest, PayoffChartStopTest,
    testing::Values(StopCase{"life", "0", {}}, StopCase{"life", "-5", {ErrorBox("'-' is not a valid integer value.")}},
                    StopCase{"security price", "0", {}},
                    StopCase{"security price", "-1", {ErrorBox("'-' is not a valid floating point value.")}},
                    StopCase{"strike", "0", {}},
                    StopCase{"strike", "-100", {ErrorBox("'-' is not a valid floating point value.")}}));

} // namespace

namespace {

// The left axis keeps the exact range -V..V but labels it in round steps; from
// a wide range to a narrow one and back the step follows without the chart
// laying out thousands of ticks on the way.
TEST_F(PayoffChartTest, LeftAxisLabelsRoundStepsForEveryRange)
{
    struct Step {
        QString security, strike, price;
        double range, interval;
    };
    const Step steps[] = {
        {"200", "100", "105", 10500, 5000},
        {"1", "1", "0.05", 45, 20},
        {"100", "100", "5", 4500, 2000},
        {"1", "1", "0.05", 45, 20},
    };
    for (const Step &s : steps) {
        DrawWithMarketPrice(true, s.security, s.strike, s.price);
        QValueAxis *left = AxisOf(Form().LineSeries2, Qt::Vertical);
        EXPECT_EQ(left->max(), s.range) << "S=" << s.security.toStdString() << " K=" << s.strike.toStdString()
                                        << " P=" << s.price.toStdString();
        EXPECT_EQ(left->tickType(), QValueAxis::TicksDynamic);
        EXPECT_EQ(left->tickAnchor(), 0);
        EXPECT_EQ(left->tickInterval(), s.interval) << "S=" << s.security.toStdString();
    }
}

} // namespace
