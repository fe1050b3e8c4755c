#pragma once

#include <QList>
#include <QPointF>
#include <QString>

namespace calculator {

// The profit/loss line in words, for screen readers, from the points the chart
// draws (ascending x): flat stretches as one phrase, other points one by one,
// e.g. "Loss of 500 up to 100, profit of 4500 at 150". Empty for no points.
QString DescribePayoff(const QList<QPointF> &points);

} // namespace calculator
