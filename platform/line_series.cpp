#include "line_series.h"

#include <algorithm>

namespace platform {

namespace {

bool ByY(const QPointF &a, const QPointF &b)
{
    return a.y() < b.y();
}

} // namespace

TLineSeries::TLineSeries(QObject *parent) : QLineSeries(parent) {}

void TLineSeries::Clear()
{
    sorted_.clear();
    Changed();
}

void TLineSeries::AddXY(double x, double y)
{
    // After the points of equal x already held, so that equal points keep the order of adding.
    const auto at = std::upper_bound(sorted_.begin(), sorted_.end(), x,
                                     [](double value, const QPointF &p) { return value < p.x(); });
    sorted_.insert(at, QPointF(x, y));
    Changed();
}

double TLineSeries::MaxYValue() const
{
    if (sorted_.isEmpty())
        return 0;
    return std::max_element(sorted_.begin(), sorted_.end(), ByY)->y();
}

double TLineSeries::MinYValue() const
{
    if (sorted_.isEmpty())
        return 0;
    return std::min_element(sorted_.begin(), sorted_.end(), ByY)->y();
}

double TLineSeries::MaxXValue() const
{
    return sorted_.isEmpty() ? 0 : sorted_.last().x();
}

double TLineSeries::MinXValue() const
{
    return sorted_.isEmpty() ? 0 : sorted_.first().x();
}

void TLineSeries::BeginUpdate()
{
    ++updating_;
}

void TLineSeries::EndUpdate()
{
    if (updating_ > 0 && --updating_ == 0 && pending_) {
        pending_ = false;
        replace(sorted_);
    }
}

void TLineSeries::Changed()
{
    if (updating_ > 0)
        pending_ = true;
    else
        replace(sorted_);
}

} // namespace platform
