// The chart on screen: for each chart type the kind of series drawn, the month labels,
// the title, and both data sets with a legend naming them.
#include "desktop/qt/chart_view.h"

#include <gtest/gtest.h>

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCandlestickSeries>
#include <QCandlestickSet>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QLocale>
#include <QChart>
#include <QHorizontalBarSeries>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPieSeries>
#include <QPieSlice>
#include <QPolarChart>
#include <QValueAxis>

#include "common/state.h"
#include "window/window_support.h"

namespace zt::desktop {
namespace {

using Type = QAbstractSeries::SeriesType;

void fill(Chart& c, int set, double base) {
    c.setThisSet(set);
    for (int k = 1; k <= 12; ++k) {
        c.setThisPoint(k);
        c.setGraphData(base + k);
        c.setLabelText(kMonthNames[static_cast<std::size_t>(k - 1)]);
    }
}

QList<Type> types(QChart* chart) {
    QList<Type> out;
    for (auto* s : chart->series()) out << s->type();
    return out;
}

QStringList visibleLegend(QChart* chart) {
    QStringList out;
    if (!chart->legend()->isVisible()) return out;
    for (auto* m : chart->legend()->markers())
        if (m->isVisible()) out << m->label();
    return out;
}

TEST(ChartView, EachTypeDrawsItsKindOfSeries) {
    test::qtApp();
    Chart c;
    fill(c, 1, 0);
    c.setTitle("Zentorio 2014 (Presenze-Generale)");
    ChartView view(c);
    auto draw = [&](int type) {
        c.setChartType(type);
        c.redraw();
        EXPECT_EQ(view.chart()->title(), "Zentorio 2014 (Presenze-Generale)") << type;
        return view.chart();
    };

    QChart* chart = draw(1);
    ASSERT_EQ(types(chart), QList<Type>({Type::SeriesTypePie}));
    auto* pie = static_cast<QPieSeries*>(chart->series()[0]);
    ASSERT_EQ(pie->count(), 12);
    EXPECT_EQ(pie->slices()[0]->label(), "Gennaio");
    EXPECT_EQ(pie->slices()[11]->value(), 12.0);

    chart = draw(2);  // a darker copy beneath the front pie
    EXPECT_GT(chart->series().size(), 1);
    for (auto t : types(chart)) EXPECT_EQ(t, Type::SeriesTypePie);

    chart = draw(3);
    ASSERT_EQ(types(chart), QList<Type>({Type::SeriesTypeBar}));
    auto* months = qobject_cast<QBarCategoryAxis*>(chart->axes(Qt::Horizontal).value(0));
    ASSERT_NE(months, nullptr);
    EXPECT_EQ(months->categories().front(), "Gennaio");
    EXPECT_EQ(months->categories().back(), "Dicembre");
    EXPECT_EQ(static_cast<QBarSeries*>(chart->series()[0])->barSets()[0]->at(3), 4.0);

    chart = draw(4);  // shaded bars
    ASSERT_EQ(types(chart), QList<Type>({Type::SeriesTypeBar}));
    EXPECT_NE(static_cast<QBarSeries*>(chart->series()[0])->barSets()[0]->brush().gradient(), nullptr);

    chart = draw(5);
    ASSERT_EQ(types(chart), QList<Type>({Type::SeriesTypeHorizontalBar}));
    // Months down the side, January at the top, each bar on its month.
    auto* side = qobject_cast<QBarCategoryAxis*>(chart->axes(Qt::Vertical).value(0));
    ASSERT_NE(side, nullptr);
    EXPECT_EQ(side->categories().back(), "Gennaio");
    auto* gantt = static_cast<QHorizontalBarSeries*>(chart->series()[0])->barSets()[0];
    for (int k = 1; k <= 12; ++k)
        EXPECT_EQ(gantt->at(side->categories().indexOf(kMonthNames[static_cast<std::size_t>(k - 1)])), k);

    chart = draw(6);
    ASSERT_EQ(types(chart), QList<Type>({Type::SeriesTypeLine}));
    EXPECT_EQ(static_cast<QLineSeries*>(chart->series()[0])->count(), 12);

    chart = draw(7);  // every value above 0: logarithmic
    ASSERT_EQ(types(chart), QList<Type>({Type::SeriesTypeLine}));
    EXPECT_NE(qobject_cast<QLogValueAxis*>(chart->axes(Qt::Vertical).value(0)), nullptr);

    chart = draw(8);
    EXPECT_EQ(types(chart), QList<Type>({Type::SeriesTypeArea}));
    chart = draw(9);
    EXPECT_EQ(types(chart), QList<Type>({Type::SeriesTypeScatter}));
    chart = draw(10);
    EXPECT_NE(qobject_cast<QPolarChart*>(chart), nullptr);
    EXPECT_EQ(types(chart), QList<Type>({Type::SeriesTypeLine}));
    chart = draw(11);
    EXPECT_EQ(types(chart), QList<Type>({Type::SeriesTypeCandlestick}));

    // A value of 0 cannot go on a logarithmic axis: linear, said in the title.
    c.setThisPoint(5);
    c.setGraphData(0);
    c.setChartType(7);
    c.redraw();
    EXPECT_NE(qobject_cast<QValueAxis*>(view.chart()->axes(Qt::Vertical).value(0)), nullptr);
    EXPECT_TRUE(view.chart()->title().startsWith("Zentorio 2014 (Presenze-Generale) ("));
    EXPECT_TRUE(view.chart()->title().contains("lineare"));
    view.unbind();
}

TEST(ChartView, TwoSetsAreBothDrawnAndNamed) {
    test::qtApp();
    Chart c;
    fill(c, 1, 0);
    c.setNumSets(2);
    fill(c, 2, 100);
    c.setLegendText(1, "2014");
    ChartView view(c);

    c.setChartType(3);
    c.redraw();
    auto* bars = qobject_cast<QBarSeries*>(view.chart()->series().value(0));
    ASSERT_NE(bars, nullptr);
    ASSERT_EQ(bars->count(), 2);
    EXPECT_EQ(bars->barSets()[1]->at(0), 101.0);
    EXPECT_EQ(visibleLegend(view.chart()), QStringList({"2014", "Serie 2"}));

    c.setChartType(6);
    c.redraw();
    EXPECT_EQ(view.chart()->series().size(), 2);
    EXPECT_EQ(visibleLegend(view.chart()), QStringList({"2014", "Serie 2"}));

    c.setChartType(1);  // two pies, one legend entry each
    c.redraw();
    EXPECT_EQ(view.chart()->series().size(), 2);
    const QStringList pies = visibleLegend(view.chart());
    ASSERT_EQ(pies.size(), 2);
    EXPECT_TRUE(pies[0].startsWith("2014"));
    EXPECT_TRUE(pies[1].startsWith("Serie 2"));

    // Min/max: per month the range between the two sets.
    c.setThisSet(2);
    c.setThisPoint(1);
    c.setGraphData(-3);
    c.setChartType(11);
    c.redraw();
    auto* ranges = qobject_cast<QCandlestickSeries*>(view.chart()->series().value(0));
    ASSERT_NE(ranges, nullptr);
    ASSERT_EQ(ranges->count(), 12);
    EXPECT_EQ(ranges->sets()[0]->low(), -3.0);
    EXPECT_EQ(ranges->sets()[0]->high(), 1.0);
    EXPECT_EQ(ranges->sets()[1]->low(), 2.0);
    EXPECT_EQ(ranges->sets()[1]->high(), 102.0);

    // One set again: no legend.
    c.setNumSets(1);
    c.setChartType(3);
    c.redraw();
    EXPECT_FALSE(view.chart()->legend()->isVisible());
    view.unbind();
}

}  // namespace
}  // namespace zt::desktop

namespace zt::desktop {
namespace {

QStringList sceneTexts(ChartView& view) {
    QStringList out;
    for (auto* item : view.scene()->items())
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item)) out << text->toPlainText();
    return out;
}

// The axes in the user's number form; every month with a value labelled on the pie.
TEST(ChartView, AxesInTheLocalesFormAndEverySliceLabelled) {
    test::qtApp();
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    Chart c;
    fill(c, 1, 0);
    c.setThisPoint(12);
    c.setGraphData(150000);
    ChartView view(c);
    view.resize(600, 500);
    view.show();
    QApplication::processEvents();
    EXPECT_TRUE(sceneTexts(view).contains("150.000")) << sceneTexts(view).join(" | ").toStdString();
    for (int k = 1; k <= 12; ++k) c.setThisPoint(k), c.setGraphData(k / 10.0);
    c.redraw();
    QApplication::processEvents();
    EXPECT_TRUE(sceneTexts(view).contains("0,5")) << sceneTexts(view).join(" | ").toStdString();
    QLocale::setDefault(before);

    // January holds almost everything; February's sliver and the others still say which
    // month they are; March, with nothing, has no slice to label.
    c.setChartType(1);
    for (int k = 1; k <= 12; ++k) c.setThisPoint(k), c.setGraphData(k == 1 ? 1e6 : k == 3 ? 0 : 10);
    c.redraw();
    auto* pie = qobject_cast<QPieSeries*>(view.chart()->series().value(0));
    ASSERT_NE(pie, nullptr);
    for (auto* slice : pie->slices())
        EXPECT_EQ(slice->isLabelVisible(), slice->label() != "Marzo") << slice->label().toStdString();
}

}  // namespace
}  // namespace zt::desktop
