#include "calculator/main_form.h"

#include "calculator/conversions.h"
#include "calculator/field_text.h"
#include "calculator/payoff_description.h"
#include "platform/fp_faults.h"
#include "platform/line_series.h"
#include "pricing/black_scholes.h"

#include <QChartView>
#include <QLineEdit>
#include <QRadioButton>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

using calculator::CompareLegs;
using calculator::LegProfit;
using calculator::ParameterOf;
using calculator::PositiveReal;
using calculator::PositiveWhole;
using calculator::TPayoffLeg;
using platform::TLineSeries;

namespace {

QValueAxis *AxisOf(TLineSeries &series, Qt::Orientation orientation)
{
    for (QAbstractAxis *axis : series.attachedAxes())
        if (axis->orientation() == orientation)
            return qobject_cast<QValueAxis *>(axis);
    return nullptr;
}

// Qt's value axis does not follow the points: it is told the span of the zero
// line, which covers every price the chart shows.
void SpanBottomAxis(TLineSeries &zero_line)
{
    if (QValueAxis *axis = AxisOf(zero_line, Qt::Horizontal))
        axis->setRange(zero_line.MinXValue(), zero_line.MaxXValue());
}

// Shows exactly -V..V, labelled in round steps (1, 2 or 5 times a power of
// ten, about two to each side). Qt lays out the ticks of the current range at
// every change, so a finer step waits for the narrower range, and a coarser
// step comes before the wider one.
void SetSymmetricRange(QValueAxis &axis, double V)
{
    const double rough = V / 2;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    const double step = rough < 2 * power ? power : rough < 5 * power ? 2 * power : 5 * power;
    if (step < axis.tickInterval()) {
        axis.setRange(-V, V);
        axis.setTickInterval(step);
    } else {
        axis.setTickInterval(step);
        axis.setRange(-V, V);
    }
}

} // namespace

void TMainForm::DrawPayoff()
{
    if (!PositiveWhole(EditLife) || !PositiveReal(EditSecurityPrice) || !PositiveReal(EditStrike))
        return;

    double S = ParameterOf(EditSecurityPrice);
    double K = ParameterOf(EditStrike);
    const double P = ParameterOf(EditOptPrice);
    const bool is_call = RadioButtonCall->isChecked();

    platform::ClearStaleFaults();
    platform::FenceInputs(S, K);
    const double R = is_call ? 1.5 * pricing::MaxOf(S, K) : 0.5 * pricing::MinOf(K, S);
    platform::FenceResults(R);
    platform::RaisePendingFault();

    {
        // Ended in reverse order: Qt gets the profit/loss line first, then the zero line.
        const TLineSeries::Batch zero_update(*LineSeries1);
        const TLineSeries::Batch profit_update(*LineSeries2);

        FLegs.clear();
        LineSeries2->Clear();
        LineSeries1->Clear();

        FLeg = FLegs.emplace_back(std::make_unique<TPayoffLeg>()).get();
        FLeg->Strike = K;
        FLeg->Premium = P;
        FLeg->IsLong = true;
        FLeg->IsCall = is_call;
        FLeg = FLegs.emplace_back(std::make_unique<TPayoffLeg>()).get();
        FLeg->Strike = R;
        FLeg->Premium = 0;
        FLeg->IsLong = false;
        FLeg->IsCall = is_call;

        std::stable_sort(FLegs.begin(), FLegs.end(),
                         [](const auto &a, const auto &b) { return CompareLegs(*a, *b) < 0; });

        std::vector<double> prices{pricing::MaxOf(0, FLegs.front()->Strike - (R - K)), (K - R) + FLegs.back()->Strike,
                                   S};
        for (const auto &leg : FLegs)
            prices.push_back(leg->Strike);

        for (const double x : prices) {
            double pl = 0;
            for (const auto &leg : FLegs) {
                FLeg = leg.get();
                pl += LegProfit(*FLeg, x);
            }
            const double y = 100 * pl;
            platform::FenceResults(y);
            platform::RaisePendingFault();
            LineSeries2->AddXY(x, y);
            LineSeries1->AddXY(x, 0);
        }
    }

    const double V = pricing::MaxOf(std::abs(LineSeries2->MaxYValue()), std::abs(LineSeries2->MinYValue()));
    if (QValueAxis *axis = AxisOf(*LineSeries2, Qt::Vertical))
        SetSymmetricRange(*axis, V);
    SpanBottomAxis(*LineSeries1);
    Chart3->setAccessibleDescription(calculator::DescribePayoff(LineSeries2->points()));
}

void TMainForm::SeedZeroLine()
{
    FLegs.clear();
    FLeg = nullptr;
    {
        const TLineSeries::Batch zero_update(*LineSeries1);
        LineSeries1->AddXY(0, 0);
        LineSeries1->AddXY(10, 0);
    }
    SpanBottomAxis(*LineSeries1);
}
