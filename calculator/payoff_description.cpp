#include "calculator/payoff_description.h"

#include "calculator/conversions.h"

#include <cmath>

namespace calculator {

namespace {

QString Number(double x)
{
    return QString::fromStdString(FormatReal(x));
}

QString Amount(double y)
{
    if (y == 0)
        return QStringLiteral("break-even");
    return (y > 0 ? QStringLiteral("profit of ") : QStringLiteral("loss of ")) + Number(std::abs(y));
}

} // namespace

QString DescribePayoff(const QList<QPointF> &points)
{
    // The same point given twice draws nothing more.
    QList<QPointF> line;
    for (const QPointF &point : points)
        if (line.isEmpty() || line.back().x() != point.x() || line.back().y() != point.y())
            line.append(point);

    QStringList phrases;
    for (qsizetype first = 0; first < line.size();) {
        qsizetype last = first;
        while (last + 1 < line.size() && line[last + 1].y() == line[first].y())
            ++last;
        const QString amount = Amount(line[first].y());
        const QString from = Number(line[first].x());
        const QString to = Number(line[last].x());
        const bool starts_line = first == 0;
        const bool ends_line = last == line.size() - 1;
        if (first == last)
            phrases.append(amount + QStringLiteral(" at ") + from);
        else if (starts_line && !ends_line)
            phrases.append(amount + QStringLiteral(" up to ") + to);
        else if (ends_line && !starts_line)
            phrases.append(amount + QStringLiteral(" from ") + from);
        else
            phrases.append(amount + QStringLiteral(" from ") + from + QStringLiteral(" to ") + to);
        first = last + 1;
    }

    QString text = phrases.join(QStringLiteral(", "));
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

} // namespace calculator
