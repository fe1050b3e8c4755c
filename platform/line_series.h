#pragma once

#include <QLineSeries>
#include <QList>
#include <QPointF>

namespace platform {

// A line series that keeps its points in ascending x, whatever the order of
// adding (equal x all kept). Between BeginUpdate and EndUpdate the points are
// collected here and handed to Qt in one replace, one redraw for the lot.
class TLineSeries : public QLineSeries {
    Q_OBJECT

public:
    explicit TLineSeries(QObject *parent = nullptr);

    void Clear();
    void AddXY(double x, double y);
    // The extremes among the points held; 0 for an empty series.
    double MaxYValue() const;
    double MinYValue() const;
    double MaxXValue() const;
    double MinXValue() const;

    void BeginUpdate();
    void EndUpdate();

    // BeginUpdate for its lifetime: the points reach Qt also when an error
    // stops the filling half-way.
    class Batch {
    public:
        explicit Batch(TLineSeries &series) : series_(series) { series_.BeginUpdate(); }
        ~Batch() { series_.EndUpdate(); }
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        TLineSeries &series_;
    };

private:
    void Changed();

    QList<QPointF> sorted_;
    int updating_ = 0;
    bool pending_ = false;
};

} // namespace platform
