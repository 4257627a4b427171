#include "desktop/qt/chart_view.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCandlestickSeries>
#include <QCandlestickSet>
#include <QCategoryAxis>
#include <QChart>
#include <QCoreApplication>
#include <QHorizontalBarSeries>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLinearGradient>
#include <QLocale>
#include <QLogValueAxis>
#include <QPieSeries>
#include <QPieSlice>
#include <QPolarChart>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <vector>

namespace zt::desktop {

namespace {

const QColor kSetColour[Chart::kMaxSets] = {QColor(0x2e, 0x6d, 0xb4), QColor(0xe0, 0x7b, 0x24)};

// One colour per month for the pie slices, around the colour wheel.
QColor monthColour(int k) { return QColor::fromHsv((210 + 30 * (k - 1)) % 360, 140, 225); }

// The data a chart type is drawn from, read once from the chart.
struct Data {
    int sets = 1;
    QStringList labels;             // the twelve point labels
    std::vector<std::vector<double>> values;  // [set][point]
    QStringList names;              // set names for the legend
    double lo = 0, hi = 0;          // smallest and largest value, 0 included
    bool allPositive = true;
};

Data read(const Chart& c) {
    Data d;
    d.sets = c.numSets();
    for (int k = 1; k <= Chart::kPoints; ++k) {
        const QString label = QString::fromStdString(c.label(k));
        d.labels << (label.isEmpty() ? QString::number(k) : label);
    }
    for (int s = 1; s <= d.sets; ++s) {
        std::vector<double> row;
        for (int k = 1; k <= Chart::kPoints; ++k) {
            const double v = c.value(s, k);
            row.push_back(v);
            d.lo = std::min(d.lo, v);
            d.hi = std::max(d.hi, v);
            if (!(v > 0)) d.allPositive = false;
        }
        d.values.push_back(std::move(row));
        d.names << ChartView::setName(c, s);
    }
    return d;
}

QValueAxis* valueAxis(const Data& d) {
    auto* axis = new QValueAxis;
    axis->setRange(d.lo, d.hi > d.lo ? d.hi : d.lo + 1);
    axis->applyNiceNumbers();
    axis->setLabelFormat("%.10g");
    return axis;
}

// The months along the bottom, slanted so that whole names fit; down the side (Gantt)
// January at the top.
QBarCategoryAxis* monthAxis(const Data& d, bool vertical = false) {
    auto* axis = new QBarCategoryAxis;
    if (vertical) {
        for (auto it = d.labels.crbegin(); it != d.labels.crend(); ++it) axis->append(*it);
    } else {
        axis->append(d.labels);
        axis->setLabelsAngle(-90);
    }
    return axis;
}

// Adds the series with a month axis and a value axis (swapped for horizontal bars).
void attachAxes(QChart* chart, QAbstractSeries* series, QAbstractAxis* months, QAbstractAxis* values,
                bool horizontal = false) {
    chart->addAxis(months, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    chart->addAxis(values, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(months);
    series->attachAxis(values);
}

// 1, 2: one pie per set, side by side, slices labelled with the months; with depth a
// darker copy of each pie lies a little below the front one.
QChart* pies(const Data& d, bool depth) {
    auto* chart = new QChart;
    const double size = d.sets == 1 ? 0.72 : 0.46;
    std::vector<QPieSeries*> fronts;
    for (int s = 0; s < d.sets; ++s) {
        const double x = d.sets == 1 ? 0.5 : (s == 0 ? 0.26 : 0.74);
        double total = 0;
        for (double v : d.values[s]) total += std::max(0.0, v);
        auto pie = [&](bool back, double y) {
            auto* series = new QPieSeries;
            series->setName(d.names[s]);
            series->setPieSize(size);
            series->setHorizontalPosition(x);
            series->setVerticalPosition(y);
            int smallRun = 0;
            for (int k = 0; k < Chart::kPoints; ++k) {
                const double v = std::max(0.0, d.values[s][k]);
                auto* slice = series->append(d.labels[k], v);
                const QColor colour = monthColour(k + 1);
                slice->setColor(back ? colour.darker(170) : colour);
                slice->setBorderColor(back ? colour.darker(200) : Qt::white);
                // Every month with a value carries its label. Two pies share the room, so
                // their labels are smaller; the labels of small slices are smaller too,
                // and a run of small slices puts them on arms of alternating length, so
                // neighbours do not cover each other.
                slice->setLabelVisible(!back && v > 0);
                const bool narrow = total > 0 && v / total < (d.sets == 1 ? 0.025 : 0.05);
                smallRun = narrow ? smallRun + 1 : 0;
                if (d.sets > 1 || narrow) {
                    QFont small = slice->labelFont();
                    small.setPointSizeF(7);
                    slice->setLabelFont(small);
                    slice->setLabelArmLengthFactor(narrow && smallRun % 2 == 0 ? 0.3 : 0.08);
                }
            }
            chart->addSeries(series);
            return series;
        };
        if (depth)
            for (int layer = 6; layer >= 1; --layer) pie(true, 0.5 + 0.006 * layer);
        fronts.push_back(pie(false, depth ? 0.49 : 0.5));
    }
    // The slices carry the month names; with two pies the legend names the pies, left
    // and right, with one entry each.
    chart->legend()->setVisible(d.sets > 1);
    chart->legend()->setAlignment(Qt::AlignBottom);
    for (auto* series : chart->series())
        for (auto* marker : chart->legend()->markers(series)) marker->setVisible(false);
    for (int s = 0; s < d.sets; ++s) {
        const auto markers = chart->legend()->markers(fronts[s]);
        if (markers.isEmpty()) continue;
        markers[0]->setVisible(true);
        markers[0]->setLabel(s == 0 ? QCoreApplication::translate("zt::desktop::ChartView", "%1 (a sinistra)").arg(d.names[s])
                                    : QCoreApplication::translate("zt::desktop::ChartView", "%1 (a destra)").arg(d.names[s]));
        markers[0]->setBrush(Qt::NoBrush);
        markers[0]->setPen(Qt::NoPen);
    }
    return chart;
}

// 3, 4, 5: grouped bars, vertical or horizontal (Gantt), shaded for depth.
QChart* bars(const Data& d, bool depth, bool horizontal) {
    auto* chart = new QChart;
    QAbstractBarSeries* series = horizontal ? static_cast<QAbstractBarSeries*>(new QHorizontalBarSeries)
                                            : static_cast<QAbstractBarSeries*>(new QBarSeries);
    for (int s = 0; s < d.sets; ++s) {
        auto* set = new QBarSet(d.names[s]);
        if (horizontal)  // the category axis runs upwards: December first
            for (auto it = d.values[s].crbegin(); it != d.values[s].crend(); ++it) *set << *it;
        else
            for (double v : d.values[s]) *set << v;
        const QColor colour = kSetColour[s];
        if (depth) {
            // Light on one side, dark on the other, per bar: a rounded, solid look.
            QLinearGradient shade(0, 0, horizontal ? 0 : 1, horizontal ? 1 : 0);
            shade.setCoordinateMode(QGradient::ObjectBoundingMode);
            shade.setColorAt(0.0, colour.lighter(150));
            shade.setColorAt(0.45, colour);
            shade.setColorAt(1.0, colour.darker(190));
            set->setBrush(shade);
            set->setBorderColor(colour.darker(220));
        } else {
            set->setColor(colour);
            set->setBorderColor(colour.darker(130));
        }
        series->append(set);
    }
    series->setBarWidth(d.sets == 1 ? 0.6 : 0.8);
    chart->addSeries(series);
    auto* months = monthAxis(d, horizontal);
    attachAxes(chart, series, months, valueAxis(d), horizontal);
    return chart;
}

QLineSeries* lineOf(const Data& d, int s) {
    auto* line = new QLineSeries;
    line->setName(d.names[s]);
    for (int k = 0; k < Chart::kPoints; ++k) line->append(k, d.values[s][k]);
    QPen pen(kSetColour[s]);
    pen.setWidthF(2.5);
    line->setPen(pen);
    line->setPointsVisible(true);
    return line;
}

// One series per data set, made by `make(set)`, on the months along the bottom and the
// values up the side.
template <class Make>
QChart* seriesPerSet(const Data& d, QAbstractAxis* months, QAbstractAxis* values, Make make) {
    auto* chart = new QChart;
    chart->addAxis(months, Qt::AlignBottom);
    chart->addAxis(values, Qt::AlignLeft);
    for (int s = 0; s < d.sets; ++s) {
        QAbstractSeries* series = make(s);
        chart->addSeries(series);
        series->attachAxis(months);
        series->attachAxis(values);
    }
    return chart;
}

// 6, 7: lines; 7 puts the values on a logarithmic axis when they are all above 0.
QChart* lines(const Data& d, bool logarithmic, QString& titleNote) {
    const bool log = logarithmic && d.allPositive;
    if (logarithmic && !log)
        titleNote = QCoreApplication::translate("zt::desktop::ChartView", " (scala lineare: valori non positivi)");
    auto* months = monthAxis(d);
    QAbstractAxis* values = nullptr;
    if (log) {
        auto* axis = new QLogValueAxis;
        axis->setBase(10);
        axis->setLabelFormat("%.10g");
        axis->setMinorTickCount(-1);
        double lo = d.values[0][0], hi = lo;
        for (const auto& row : d.values)
            for (double v : row) lo = std::min(lo, v), hi = std::max(hi, v);
        axis->setRange(std::pow(10.0, std::floor(std::log10(lo))), std::pow(10.0, std::ceil(std::log10(hi) + 1e-9)));
        values = axis;
    } else {
        values = valueAxis(d);
    }
    return seriesPerSet(d, months, values, [&](int s) { return lineOf(d, s); });
}

// 8: areas down to 0.
QChart* areas(const Data& d) {
    return seriesPerSet(d, monthAxis(d), valueAxis(d), [&](int s) {
        auto* upper = lineOf(d, s);
        auto* lower = new QLineSeries;
        for (int k = 0; k < Chart::kPoints; ++k) lower->append(k, 0);
        auto* area = new QAreaSeries(upper, lower);
        area->setName(d.names[s]);
        QColor fill = kSetColour[s];
        fill.setAlpha(d.sets == 1 ? 200 : 140);
        area->setBrush(fill);
        area->setPen(QPen(kSetColour[s].darker(130), 2));
        return area;
    });
}

// 9: points only.
QChart* scatter(const Data& d) {
    return seriesPerSet(d, monthAxis(d), valueAxis(d), [&](int s) {
        auto* points = new QScatterSeries;
        points->setName(d.names[s]);
        points->setMarkerSize(11);
        points->setColor(kSetColour[s]);
        points->setBorderColor(kSetColour[s].darker(150));
        if (s == 1) points->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
        for (int k = 0; k < Chart::kPoints; ++k) points->append(k, d.values[s][k]);
        return points;
    });
}

// 10: the months around the circle, the values as the distance from the centre.
QChart* polar(const Data& d) {
    auto* chart = new QPolarChart;
    auto* months = new QCategoryAxis;
    months->setStartValue(-0.5);
    for (int k = 0; k < Chart::kPoints; ++k) months->append(d.labels[k], k);
    months->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    months->setRange(0, Chart::kPoints);
    auto* values = valueAxis(d);
    chart->addAxis(months, QPolarChart::PolarOrientationAngular);
    chart->addAxis(values, QPolarChart::PolarOrientationRadial);
    for (int s = 0; s < d.sets; ++s) {
        auto* line = lineOf(d, s);
        line->append(Chart::kPoints, d.values[s][0]);  // round to January again
        chart->addSeries(line);
        line->attachAxis(months);
        line->attachAxis(values);
    }
    return chart;
}

// 11: per month a box from the smallest to the largest value of the sets.
QChart* minMax(const Data& d) {
    auto* chart = new QChart;
    auto* series = new QCandlestickSeries;
    series->setName(d.sets == 1 ? d.names[0] : d.names[0] + " / " + d.names[1]);
    series->setIncreasingColor(kSetColour[0]);
    series->setDecreasingColor(kSetColour[0]);
    series->setBodyWidth(0.45);
    for (int k = 0; k < Chart::kPoints; ++k) {
        double lo = d.values[0][k], hi = lo;
        for (int s = 1; s < d.sets; ++s) lo = std::min(lo, d.values[s][k]), hi = std::max(hi, d.values[s][k]);
        series->append(new QCandlestickSet(lo, hi, lo, hi, k));
    }
    chart->addSeries(series);
    attachAxes(chart, series, monthAxis(d), valueAxis(d));
    return chart;
}

}  // namespace

QString ChartView::setName(const Chart& chart, int set) {
    const QString text = QString::fromStdString(chart.legendText(set));
    return text.isEmpty() ? tr("Serie %1").arg(set) : text;
}

ChartView::ChartView(Chart& chart, QWidget* parent) : QChartView(parent), chart_(chart) {
    setObjectName("Graph1");
    setRenderHint(QPainter::Antialiasing);
    setFrameShape(QFrame::Box);
    chart_.setOnRedraw([this] { rebuild(); });
    rebuild();
}

void ChartView::unbind() { chart_.setOnRedraw(nullptr); }

void ChartView::rebuild() {
    const Data d = read(chart_);
    QString note;
    QChart* next = nullptr;
    switch (chart_.chartType()) {
        case 1: next = pies(d, false); break;
        case 2: next = pies(d, true); break;
        case 3: next = bars(d, false, false); break;
        case 5: next = bars(d, false, true); break;
        case 6: next = lines(d, false, note); break;
        case 7: next = lines(d, true, note); break;
        case 8: next = areas(d); break;
        case 9: next = scatter(d); break;
        case 10: next = polar(d); break;
        case 11: next = minMax(d); break;
        default: next = bars(d, true, false); break;
    }
    next->setTitle(QString::fromStdString(chart_.title()) + note);
    QFont titleFont = next->titleFont();
    titleFont.setBold(true);
    titleFont.setPointSizeF(10);
    next->setTitleFont(titleFont);
    next->setMargins(QMargins(4, 4, 4, 4));
    next->setAnimationOptions(QChart::NoAnimation);
    // The values on the axes in the user's number form (1.500,5 in Italian), as the grid.
    next->setLocale(QLocale());
    next->setLocalizeNumbers(true);
    if (chart_.chartType() > 2) {
        next->legend()->setVisible(d.sets > 1);
        next->legend()->setAlignment(Qt::AlignBottom);
    }
    QChart* previous = chart();
    setChart(next);
    delete previous;
}

}  // namespace zt::desktop
