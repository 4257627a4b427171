#include "app/selection.h"
#include "common/translate.h"

#include "store/figures/catalogue.h"

namespace zt::app {

namespace {

std::string listing(const desktop::ComboList& list) {
    std::string out;
    for (const auto& item : list.items) out += "\n  " + item;
    return out.empty() ? "\n  " + translate("Cli", "(none)") : out;
}

}  // namespace

void chooseHotel(desktop::DeskLogic& logic, int hotel) {
    const auto& list = logic.combo1[2];
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        if (static_cast<int>(desktop::DeskLogic::hotelNumberOf(list.items[i])) == hotel) {
            logic.chooseItem(2, static_cast<int>(i));
            return;
        }
    }
    throw ChoiceError(withArgs(translate("Cli", "no hotel numbered %1; the hotels are:"), {std::to_string(hotel)}) +
                      listing(list));
}

void chooseStatistic(desktop::DeskLogic& logic, int index, const std::string& name) {
    const auto& list = logic.combo1[static_cast<std::size_t>(index)];
    const int i = list.find(name);
    if (i < 0)
        throw ChoiceError(withArgs(translate("Cli", "unknown statistic \"%1\"; the statistics are:"), {name}) +
                          listing(list));
    logic.chooseItem(index, i);
}

void chooseDetail(desktop::DeskLogic& logic, int index, const std::string& statistic, const std::string& detail) {
    const auto& list = logic.combo1[static_cast<std::size_t>(index)];
    int i = list.find(detail);
    for (std::size_t k = 0; i < 0 && k < list.items.size(); ++k) {
        const auto key = store::gridKey(statistic, list.items[k]);
        if (key && key->hasDetail && key->detail == detail) i = static_cast<int>(k);
    }
    if (i < 0)
        throw ChoiceError(
            withArgs(translate("Cli", "no detail \"%1\" for \"%2\"; the details are:"), {detail, statistic}) +
            listing(list));
    logic.chooseItem(index, i);
}

}  // namespace zt::app
