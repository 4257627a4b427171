#pragma once
// What the web pages show, and the pages themselves: server-made HTML (Italian, no
// script), JSON with numbers as numbers, the chart as SVG drawn from the window's chart
// description (desktop/chart.h). Every text from the files is escaped here.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/chain.h"
#include "desktop/chart.h"

namespace zt::web {

// A chart's data as the window's chart holds it after "&Ok" or "&Conferma".
struct Series {
    std::string title;
    int sets = 1;
    std::array<std::array<double, 12>, 2> values{};
    std::array<std::string, 2> legends;
};
Series comparisonOf(const desktop::Chart& chart);

struct GridView {
    std::vector<std::string> hotels, statistics, details, comparisons, ratioDetails;
    int hotel = 0;
    std::string hotelItem, statistic, detail, year;
    int chartType = 4;
    std::array<std::string, 12> texts;   // the month fields as the grid writes them
    std::array<double, 12> values{};     // the chart's points
    std::string chart;                   // SVG
    std::string compareYear;
    Series compare;
    std::string compareChart;
    std::string ratioStatistic, ratioDetail;
    Series ratio;
    std::string ratioChart;
    std::string format;                  // /report: txt, pdf, csv
    std::string report;                  // /report: the bytes
};

struct ChainView {
    std::vector<std::string> statistics, details;
    desktop::ChainTable table;
    int sortColumn = 0;  // 0 the hotel, 1-12 the months, 13 the total, 14 the %
    bool descending = false;
};
// Sorts the rows by the view's column (the total row stays last).
void sortChain(ChainView& v);

std::string escapeHtml(std::string_view text);  // also right for SVG text and attributes
std::string jsonString(std::string_view text);

// The chart as SVG: bars for the bar and other types, lines for "Linee", "Area",
// "Dispersione", a pie for "Torta"; title, month labels and legend escaped.
std::string chartSvg(const desktop::Chart& chart);

std::string gridPage(const GridView& v);
std::string chainPage(const ChainView& v);
std::string loginPage(const std::string& message);
std::string messagePage(const std::string& title, const std::string& message);
std::string gridJson(const GridView& v);
std::string chainJson(const ChainView& v);
std::string errorJson(const std::string& message);
std::string styleSheet();

}  // namespace zt::web
