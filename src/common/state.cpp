#include "common/state.h"

#include <stdexcept>

#include "common/env.h"
#include "common/text.h"
#include "common/translate.h"

namespace zt {

namespace {
// The month names marked for lupdate; they are kMonthNames.
[[maybe_unused]] constexpr const char* kMonthTexts[] = {
    QT_TRANSLATE_NOOP("Months", "Gennaio"),   QT_TRANSLATE_NOOP("Months", "Febbraio"),
    QT_TRANSLATE_NOOP("Months", "Marzo"),     QT_TRANSLATE_NOOP("Months", "Aprile"),
    QT_TRANSLATE_NOOP("Months", "Maggio"),    QT_TRANSLATE_NOOP("Months", "Giugno"),
    QT_TRANSLATE_NOOP("Months", "Luglio"),    QT_TRANSLATE_NOOP("Months", "Agosto"),
    QT_TRANSLATE_NOOP("Months", "Settembre"), QT_TRANSLATE_NOOP("Months", "Ottobre"),
    QT_TRANSLATE_NOOP("Months", "Novembre"),  QT_TRANSLATE_NOOP("Months", "Dicembre")};
}  // namespace

std::string monthText(int month) {
    if (month < 1 || month > 12) return "?";
    return translate("Months", kMonthNames[static_cast<std::size_t>(month - 1)]);
}

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
        if (!folder || folder->empty()) {
            figurePathsProblem =
                std::string("L'albergo ha l'opzione \"&\": i file delle cifre (Zentoria.mdb e Dettaglio.mdb) "
                            "stanno nella cartella indicata dalla variabile d'ambiente DIRSH, ma DIRSH ") +
                (folder ? "è vuota" : "non è impostata") +
                ". Nessun file delle cifre è stato letto o scritto: impostare DIRSH e riavviare Zentoria.";
            if (figuresServerSetting()) return;  // the tables are on the server
            throw std::runtime_error(figurePathsProblem);
        }
        // A backslash, as the hotel's configuration writes paths; the database layer
        // turns backslashes into folder separators.
        summary = *folder + "\\" + summary;
        detail = *folder + "\\" + detail;
    }
    figurePathsProblem.clear();
    summaryDbPath = summary;
    detailDbPath = detail;
    summaryTable = "Zentoria";
    detailTable = "Dettaglio";
}

void ProgramState::requireFigurePaths() const {
    if (!figuresReachable()) throw std::runtime_error(figurePathsProblem);
}

void ProgramState::requireFigureFiles() const {
    if (!figurePathsProblem.empty()) throw std::runtime_error(figurePathsProblem);
}

bool ProgramState::figuresReachable() const { return figurePathsProblem.empty() || figuresServerSetting(); }

ProgramState& programState() {
    static ProgramState state;
    return state;
}

}  // namespace zt
