#include "common/state.h"

#include <stdexcept>

#include "common/env.h"
#include "common/text.h"

namespace zt {

void ProgramState::setMonths() {
    for (std::size_t i = 0; i < 12; ++i) {
        monthNames[i] = kMonthNames[i];
        monthLengths[i] = kMonthLengths[i];
    }
}

void ProgramState::setDatabasePaths() {
    std::string summary = "Zentoria.mdb";
    std::string detail = "Dettaglio.mdb";
    if (contains(hotelOptions, "&")) {
        // Environment names are matched without regard to case, as on the hotel's workstations.
        const auto folder = envValueNoCase("DIRSH");
        if (!folder || folder->empty())
            throw std::runtime_error(
                "The hotel's option string asks for the figure files in the folder named by "
                "DIRSH, but DIRSH is not set.");
        // A backslash, as the hotel's configuration writes paths; the database layer
        // turns backslashes into folder separators.
        summary = *folder + "\\" + summary;
        detail = *folder + "\\" + detail;
    }
    summaryDbPath = summary;
    detailDbPath = detail;
    summaryTable = "Zentoria";
    detailTable = "Dettaglio";
}

ProgramState& programState() {
    static ProgramState state;
    return state;
}

}  // namespace zt
