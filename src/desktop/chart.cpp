#include "desktop/chart.h"

#include <algorithm>

namespace zt::desktop {

const std::array<const char*, Chart::kTypes> kChartTypeItems = {
    " 1 - Torta 2D", " 2 - Torta 3D", " 3 - Barre 2D", " 4 - Barre 3D", " 5 - Gantt   ", " 6 - Linee   ",
    " 7 - Logico/Lineare", " 8 - Area", " 9 - Dispersione", "10 - Polare", "11 - Min/Max"};

Chart::Chart() = default;

void Chart::setChartType(int type) {
    if (type >= 1 && type <= kTypes) type_ = type;
}

void Chart::setNumSets(int n) {
    numSets_ = std::clamp(n, 1, kMaxSets);
    thisSet_ = std::min(thisSet_, numSets_);
}

void Chart::setThisSet(int set) { thisSet_ = std::clamp(set, 1, numSets_); }

void Chart::setThisPoint(int point) { thisPoint_ = std::clamp(point, 1, kPoints); }

void Chart::setGraphData(double value) { values_[thisSet_ - 1][thisPoint_ - 1] = value; }

double Chart::graphData() const { return values_[thisSet_ - 1][thisPoint_ - 1]; }

void Chart::setLabelText(std::string label) { labels_[thisPoint_ - 1] = std::move(label); }

const std::string& Chart::labelText() const { return labels_[thisPoint_ - 1]; }

double Chart::value(int set, int point) const {
    return values_[std::clamp(set, 1, kMaxSets) - 1][std::clamp(point, 1, kPoints) - 1];
}

const std::string& Chart::label(int point) const { return labels_[std::clamp(point, 1, kPoints) - 1]; }

void Chart::setLegendText(int set, std::string text) { legends_[std::clamp(set, 1, kMaxSets) - 1] = std::move(text); }

const std::string& Chart::legendText(int set) const { return legends_[std::clamp(set, 1, kMaxSets) - 1]; }

void Chart::redraw() {
    ++redraws_;
    if (onRedraw_) onRedraw_();
}

}  // namespace zt::desktop
