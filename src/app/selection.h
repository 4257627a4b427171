#pragma once
// Choosing hotel, year, statistic and detail in the window's logic from command-line
// arguments, as a user would in the window's lists.
#include <optional>
#include <stdexcept>
#include <string>

#include "desktop/desk_logic.h"

namespace zt::app {

// A choice that no list offers; the message lists the valid choices.
class ChoiceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Selects hotel number `hotel` in the hotel list (runs its handler).
void chooseHotel(desktop::DeskLogic& logic, int hotel);
// Selects the statistic with this display name in Combo1(index) (0 or 4).
void chooseStatistic(desktop::DeskLogic& logic, int index, const std::string& name);
// Selects a detail in Combo1(index) (1 or 5): the item with this text, else the first
// item whose detail code (as the grid derives it for `statistic`) equals it.
void chooseDetail(desktop::DeskLogic& logic, int index, const std::string& statistic, const std::string& detail);

}  // namespace zt::app
