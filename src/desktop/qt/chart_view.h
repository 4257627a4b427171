#pragma once
// The chart `Graph1` on screen: renders a desktop::Chart with Qt Charts, anew on each of
// the chart's redraws. The chart types:
//    1 pie                        7 line on a logarithmic value axis (linear, with a
//    2 pie with depth               note in the title, when a value is not above 0)
//    3 bars                       8 area
//    4 bars with depth (shaded)   9 scatter
//    5 Gantt (horizontal bars)   10 polar
//    6 lines                     11 min/max: per month the range between the sets
// With two data sets both are drawn and the legend names them.
#include <QChartView>

#include "desktop/chart.h"

namespace zt::desktop {

class ChartView : public QChartView {
    Q_OBJECT
public:
    // Binds to the chart's redraw; the chart must outlive the binding (unbind() ends it).
    explicit ChartView(Chart& chart, QWidget* parent = nullptr);

    // Renders the chart's current data now.
    void rebuild();
    // Stops following the chart's redraws.
    void unbind();

    // A set's name in the legend: the chart's legend text, or "Serie 1" / "Serie 2".
    static QString setName(const Chart& chart, int set);

private:
    Chart& chart_;
};

}  // namespace zt::desktop
