#include "calculator/payoff_description.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct DescriptionCase {
    const char *what;
    QList<QPointF> points;
    const char *expected;
};

void PrintTo(const DescriptionCase &c, std::ostream *os)
{
    *os << c.what << ": points";
    for (const QPointF &p : c.points)
        *os << " (" << p.x() << ", " << p.y() << ")";
}

class PayoffDescriptionTest : public testing::TestWithParam<DescriptionCase> {};

TEST_P(PayoffDescriptionTest, SaysTheLineInWords)
{
    EXPECT_EQ(calculator::DescribePayoff(GetParam().points).toStdString(), std::string(GetParam().expected));
}

// The point lists are those DrawPayoff draws: the two outer prices, the
// security price and both strikes, in ascending x, repeats included.
INSTANTIATE_TEST_SUITE_P(
    Lines, PayoffDescriptionTest,
    testing::Values(
        DescriptionCase{"call at the money",
                        {{50, -500}, {100, -500}, {100, -500}, {100, -500}, {150, 4500}},
                        "Loss of 500 up to 100, profit of 4500 at 150"},
        DescriptionCase{"put at the money",
                        {{50, 4500}, {100, -500}, {100, -500}, {100, -500}, {150, -500}},
                        "Profit of 4500 at 50, loss of 500 from 100"},
        DescriptionCase{"call in the money: the security price sits on the rising stretch",
                        {{20, -453.21}, {100, -453.21}, {120, 1546.79}, {180, 7546.79}},
                        "Loss of 453.21 up to 100, profit of 1546.79 at 120, profit of 7546.79 at 180"},
        DescriptionCase{"free option: the flat stretch is break-even",
                        {{50, 0}, {100, 0}, {150, 5000}},
                        "Break-even up to 100, profit of 5000 at 150"},
        DescriptionCase{"a zero crossing point and a negative zero",
                        {{0, -100}, {10, -0.0}, {20, 100}},
                        "Loss of 100 at 0, break-even at 10, profit of 100 at 20"},
        DescriptionCase{"flat in the middle only", {{0, 300}, {10, -200}, {20, -200}, {30, 400}},
                        "Profit of 300 at 0, loss of 200 from 10 to 20, profit of 400 at 30"},
        DescriptionCase{"flat all along", {{0, -250}, {5, -250}, {10, -250}}, "Loss of 250 from 0 to 10"},
        DescriptionCase{"one point", {{100, -500}}, "Loss of 500 at 100"},
        DescriptionCase{"no points", {}, ""}));

} // namespace
