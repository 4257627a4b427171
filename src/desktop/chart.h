#pragma once
// The chart `Graph1` as a plain data object: the operations the program drives it with
// (title, chart type, number of data sets, current set and point, value and label of the
// current point, redraw). The window renders it with Qt Charts on each redraw; the
// command line and the tests read it directly.
#include <array>
#include <functional>
#include <string>
#include <vector>

namespace zt::desktop {

class Chart {
public:
    static constexpr int kPoints = 12;
    static constexpr int kMaxSets = 2;
    static constexpr int kTypes = 11;

    Chart();

    void setTitle(std::string title) { title_ = std::move(title); }
    const std::string& title() const { return title_; }

    // 1 " 1 - Torta 2D" ... 11 "11 - Min/Max"; values outside 1..11 are kept out.
    void setChartType(int type);
    int chartType() const { return type_; }

    // Number of data sets shown (1 or 2); the current set is kept within it.
    void setNumSets(int n);
    int numSets() const { return numSets_; }
    void setThisSet(int set);      // 1-based
    int thisSet() const { return thisSet_; }
    void setThisPoint(int point);  // 1-based, 1..12
    int thisPoint() const { return thisPoint_; }

    // Value and label of the current point (of the current set, for the value).
    void setGraphData(double value);
    double graphData() const;
    void setLabelText(std::string label);
    const std::string& labelText() const;

    // Direct reads for the view and tests (1-based set and point).
    double value(int set, int point) const;
    const std::string& label(int point) const;

    // The name of a data set in the legend (shown when two sets are drawn).
    void setLegendText(int set, std::string text);
    const std::string& legendText(int set) const;

    // Redraw: tells the view to render the current data; counts redraws for tests.
    void redraw();
    int redrawCount() const { return redraws_; }
    void setOnRedraw(std::function<void()> fn) { onRedraw_ = std::move(fn); }

private:
    std::string title_;
    int type_ = 4;
    int numSets_ = 1;
    int thisSet_ = 1;
    int thisPoint_ = 1;
    std::array<std::array<double, kPoints>, kMaxSets> values_{};
    std::array<std::string, kPoints> labels_{};
    std::array<std::string, kMaxSets> legends_{};
    int redraws_ = 0;
    std::function<void()> onRedraw_;
};

// The chart-type list items, in order.
extern const std::array<const char*, Chart::kTypes> kChartTypeItems;

}  // namespace zt::desktop
