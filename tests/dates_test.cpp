#include "window_fixture.h"

#include "platform/line_series.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSignalSpy>
#include <QTest>
#include <QValueAxis>

#include <functional>
#include <string>
#include <vector>

namespace {

// April has 30 days, so one step of the month section moves a date by exactly 30 days.
const QDate kStart(2023, 4, 10);

std::string Iso(QDate date)
{
    return date.toString(Qt::ISODate).toStdString();
}

TEST_F(WindowTest, StartsWithBothDatesTodayAndOnlyTheZeroLine)
{
    const QDate today = QDate::currentDate();
    EXPECT_EQ(Form().CalculationDate->date(), today);
    EXPECT_EQ(Form().ExpirationDate->date(), today);
    EXPECT_EQ(Form().EditLife->text(), QStringLiteral("0"));
    EXPECT_TRUE(Form().EditOptPrice->text().isEmpty()) << "nothing is computed at start";
    EXPECT_TRUE(Form().Legs().empty());
    EXPECT_TRUE(Form().LineSeries2->points().isEmpty());
    EXPECT_EQ(Form().LineSeries1->points(), (QList<QPointF>{{0, 0}, {10, 0}}));
    QValueAxis *bottom = nullptr;
    for (QAbstractAxis *axis : Form().LineSeries1->attachedAxes())
        if (axis->orientation() == Qt::Horizontal)
            bottom = qobject_cast<QValueAxis *>(axis);
    ASSERT_NE(bottom, nullptr);
    EXPECT_EQ(bottom->min(), 0);
    EXPECT_EQ(bottom->max(), 10);
}

// The window in its start state, moved silently to a fixed calculation date,
// with a security price, strike and volatility typed in, so that every
// recalculation with a positive life redraws the chart once and shows as one
// replace of the profit/loss series.
class DatesTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        for (QDateEdit *picker : {Form().CalculationDate, Form().ExpirationDate}) {
            const QSignalBlocker blocker(picker);
            picker->setDate(kStart);
        }
        Retype(Form().EditSecurityPrice, QStringLiteral("100"));
        Retype(Form().EditStrike, QStringLiteral("100"));
        Retype(Form().EditVol, QStringLiteral("25"));
        ASSERT_TRUE(Form().EditOptPrice->text().isEmpty()) << "life 0 computes nothing";
        ASSERT_TRUE(Form().LineSeries2->points().isEmpty());
    }

    void Step(QDateEdit *picker, QDateTimeEdit::Section section, Qt::Key key)
    {
        Focus(picker);
        picker->setCurrentSection(section);
        QTest::keyClick(picker, key);
    }

    // Types one digit over the selected day section; a digit above 3 completes it at once.
    void ChooseDay(QDateEdit *picker, int day)
    {
        Focus(picker);
        picker->setSelectedSection(QDateTimeEdit::DaySection);
        QTest::keyClick(picker, static_cast<Qt::Key>(Qt::Key_0 + day));
    }

    // How many recalculations the action made, seen as redraws of the chart.
    int Redraws(const std::function<void()> &action)
    {
        QSignalSpy replaced(Form().LineSeries2, &QXYSeries::pointsReplaced);
        action();
        return static_cast<int>(replaced.count());
    }
};

enum class Action { ExpirationMonthUp, CalculationDayUp, ExpirationDay5 };

struct DateStep {
    Action action;
    QString life;
    QDate calculation;
    QDate expiration;
    int recalculations;
};

struct DateChain {
    const char *name;
    std::vector<DateStep> steps;
};

void PrintTo(const DateChain &chain, std::ostream *os)
{
    *os << chain.name;
}

class DateChainTest : public DatesTest, public testing::WithParamInterface<DateChain> {};

TEST_P(DateChainTest, KeepsLifeAndDatesInStep)
{
    const DateChain &chain = GetParam();
    for (std::size_t i = 0; i < chain.steps.size(); ++i) {
        const DateStep &step = chain.steps[i];
        const int redraws = Redraws([&] {
            switch (step.action) {
            case Action::ExpirationMonthUp:
                Step(Form().ExpirationDate, QDateTimeEdit::MonthSection, Qt::Key_Up);
                break;
            case Action::CalculationDayUp:
                Step(Form().CalculationDate, QDateTimeEdit::DaySection, Qt::Key_Up);
                break;
            case Action::ExpirationDay5:
                ChooseDay(Form().ExpirationDate, 5);
                break;
            }
        });
        const std::string where = std::string(chain.name) + ", step " + std::to_string(i + 1);
        EXPECT_EQ(Form().EditLife->text(), step.life) << where;
        EXPECT_EQ(Iso(Form().CalculationDate->date()), Iso(step.calculation)) << where;
        EXPECT_EQ(Iso(Form().ExpirationDate->date()), Iso(step.expiration)) << where;
        EXPECT_EQ(redraws, step.recalculations) << where;
        EXPECT_FALSE(Form().EditOptPrice->text().isEmpty()) << where << ": the price was computed";
    }
}

INSTANTIATE_TEST_SUITE_P(Chains, DateChainTest,
                         testing::Values(DateChain{"expiration 30 days later, then the calculation date a day later",
                                                   {{Action::ExpirationMonthUp, "30", kStart, kStart.addDays(30), 2},
                                                    {Action::CalculationDayUp, "29", kStart.addDays(1),
                                                     kStart.addDays(30), 2}}},
                                         // The first choice changes the life and the expiration date jumps to the
                                         // other side; the second leaves the life at 5, so nothing moves it back.
                                         DateChain{"expiration 5 days before, twice",
                                                   {{Action::ExpirationDay5, "5", kStart, kStart.addDays(5), 2},
                                                    {Action::ExpirationDay5, "5", kStart, kStart.addDays(-5), 1}}}));

struct Keystroke {
    int expiration_offset; // days after the calculation date
    int redraws;
    std::vector<RecordedBox> boxes;
};

struct LifeTyping {
    QString text;
    std::vector<Keystroke> keystrokes; // one per character
};

void PrintTo(const LifeTyping &typing, std::ostream *os)
{
    *os << "typing \"" << typing.text.toStdString() << "\"";
}

class LifeTypingTest : public DatesTest, public testing::WithParamInterface<LifeTyping> {};

// A life of 0 or less stops every computation at its positivity test, so such
// keystrokes recalculate without anything to see.
TEST_P(LifeTypingTest, MovesTheExpirationDateOnEveryKeystroke)
{
    const LifeTyping &typing = GetParam();
    ASSERT_EQ(typing.keystrokes.size(), static_cast<std::size_t>(typing.text.size()));
    Erase(Form().EditLife);
    ASSERT_EQ(Iso(Form().ExpirationDate->date()), Iso(kStart)) << "an empty life moves nothing";

    for (qsizetype i = 0; i < typing.text.size(); ++i) {
        const Keystroke &expected = typing.keystrokes[static_cast<std::size_t>(i)];
        const int redraws = Redraws([&] { Type(Form().EditLife, typing.text.mid(i, 1)); });
        const std::string where =
            testing::PrintToString(typing) + " at \"" + typing.text.left(i + 1).toStdString() + "\"";
        EXPECT_EQ(Iso(Form().ExpirationDate->date()), Iso(kStart.addDays(expected.expiration_offset))) << where;
        EXPECT_EQ(Iso(Form().CalculationDate->date()), Iso(kStart)) << where;
        EXPECT_EQ(redraws, expected.redraws) << where;
        EXPECT_EQ(TakeBoxes(), expected.boxes) << where;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lives, LifeTypingTest,
    testing::Values(LifeTyping{"30", {{3, 1, {}}, {30, 1, {}}}}, LifeTyping{"0", {{0, 0, {}}}},
                    LifeTyping{"-5", {{0, 0, {ErrorBox("'-' is not a valid integer value.")}}, {-5, 0, {}}}},
                    LifeTyping{"1.5",
                               {{1, 1, {}},
                                {1, 0, {ErrorBox("'1.' is not a valid integer value.")}},
                                {1, 0, {ErrorBox("'1.5' is not a valid integer value.")}}}}));

TEST_F(DatesTest, DeletingTheWholeLifeChangesNothing)
{
    Step(Form().ExpirationDate, QDateTimeEdit::MonthSection, Qt::Key_Up);
    ASSERT_EQ(Form().EditLife->text(), QStringLiteral("30"));
    const QString price = Form().EditOptPrice->text();
    const QString delta = Form().EditDelta->text();
    const QList<QPointF> profit = Form().LineSeries2->points();

    EXPECT_EQ(Redraws([&] { Erase(Form().EditLife); }), 0);
    EXPECT_TRUE(Form().EditLife->text().isEmpty());
    EXPECT_EQ(Iso(Form().CalculationDate->date()), Iso(kStart));
    EXPECT_EQ(Iso(Form().ExpirationDate->date()), Iso(kStart.addDays(30)));
    EXPECT_EQ(Form().EditOptPrice->text(), price);
    EXPECT_EQ(Form().EditDelta->text(), delta);
    EXPECT_EQ(Form().LineSeries2->points(), profit);
}

} // namespace
