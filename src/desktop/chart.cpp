#include "desktop/chart.h"

#include <algorithm>

#include "common/translate.h"

namespace zt::desktop {

// Marked for lupdate: the window shows them translated (context "Chart").
const std::array<const char*, Chart::kTypes> kChartTypeItems = {
    QT_TRANSLATE_NOOP("Chart", " 1 - Torta 2D"),       QT_TRANSLATE_NOOP("Chart", " 2 - Torta 3D"),
    QT_TRANSLATE_NOOP("Chart", " 3 - Barre 2D"),       QT_TRANSLATE_NOOP("Chart", " 4 - Barre 3D"),
    QT_TRANSLATE_NOOP("Chart", " 5 - Gantt   "),       QT_TRANSLATE_NOOP("Chart", " 6 - Linee   "),
    QT_TRANSLATE_NOOP("Chart", " 7 - Logico/Lineare"), QT_TRANSLATE_NOOP("Chart", " 8 - Area"),
    QT_TRANSLATE_NOOP("Chart", " 9 - Dispersione"),    QT_TRANSLATE_NOOP("Chart", "10 - Polare"),
    QT_TRANSLATE_NOOP("Chart", "11 - Min/Max")};

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
