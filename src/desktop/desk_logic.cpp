#include "desktop/desk_logic.h"

#include <cmath>
#include <exception>
#include <stdexcept>

#include "common/text.h"
#include "common/translate.h"
#include "desktop/passwd.h"
#include "store/figures/catalogue.h"
#include "store/sqlite/database.h"
#include "store/figures/operations.h"

namespace zt::desktop {

namespace {

constexpr const char* kRegistry = "AnagraficaHotels.mdb";
// The title of the window's message boxes.
std::string messageTitle() { return translate("DeskLogic", "Zentoria"); }

// Month captions of Label1(3..14), exactly as the window shows them (the dots fill the
// label's width, so a translation sets its own).
constexpr std::array<const char*, 12> kMonthCaptions = {
    QT_TRANSLATE_NOOP("DeskLogic", "Gennaio ...........................:"),
    QT_TRANSLATE_NOOP("DeskLogic", "Febbraio ...........................:"),
    QT_TRANSLATE_NOOP("DeskLogic", "Marzo ...............................:"),
    QT_TRANSLATE_NOOP("DeskLogic", "Aprile ................................:"),
    QT_TRANSLATE_NOOP("DeskLogic", "Maggio .............................:"),
    QT_TRANSLATE_NOOP("DeskLogic", "Giugno .............................:"),
    QT_TRANSLATE_NOOP("DeskLogic", "Luglio ...............................:"),
    QT_TRANSLATE_NOOP("DeskLogic", "Agosto ..............................:"),
    QT_TRANSLATE_NOOP("DeskLogic", "Settembre ........................:"),
    QT_TRANSLATE_NOOP("DeskLogic", "Ottobre ............................:"),
    QT_TRANSLATE_NOOP("DeskLogic", "Novembre ........................:"),
    QT_TRANSLATE_NOOP("DeskLogic", "Dicembre .........................:")};
// The window's caption (DeskLogic::kCaption), marked for lupdate.
[[maybe_unused]] constexpr const char* kCaptionText = QT_TRANSLATE_NOOP("DeskLogic", "Zentorio Mensile / Annuale");

}  // namespace

// ---- ComboList -----------------------------------------------------------------------

void ComboList::clear() {
    items.clear();
    listIndex = -1;
    text.clear();
}

void ComboList::addItem(std::string item) { items.push_back(std::move(item)); }

void ComboList::select(int i) {
    if (i < 0 || i >= static_cast<int>(items.size())) {
        listIndex = -1;
        text.clear();
        return;
    }
    listIndex = i;
    text = items[static_cast<std::size_t>(i)];
}

int ComboList::find(const std::string& item) const {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == item) return static_cast<int>(i);
    return -1;
}

// ---- DeskLogic -----------------------------------------------------------------------

DeskLogic::DeskLogic(ProgramState& state, UiPort& ui, Separators separators)
    : caption(translate("DeskLogic", kCaption)), state_(state), ui_(ui), sep_(std::move(separators)) {
    setupControls();
}

void DeskLogic::setupControls() {
    label1[0] = translate("DeskLogic", "Anno ");
    label1[1] = translate("DeskLogic", "Tipo  ");
    label1[2] = translate("DeskLogic", "Dett. ");
    for (int i = 0; i < 12; ++i)
        label1[static_cast<std::size_t>(3 + i)] = translate("DeskLogic", kMonthCaptions[static_cast<std::size_t>(i)]);
    label1[15] = translate("DeskLogic", "Grafico ..:");
    label1[16] = translate("DeskLogic", "Differenza con :");
    label1[17] = translate("DeskLogic", "Rapporto con :");
    tasto = {translate("DeskLogic", "&Stampa"),   translate("DeskLogic", "&Esci"),
             translate("DeskLogic", "&Registra"), translate("DeskLogic", "&Aggiorna"),
             translate("DeskLogic", "&Conferma"), translate("DeskLogic", "&Ok")};
    text1[0] = "2014";
}

void DeskLogic::changed() {
    if (onChange) onChange();
}

bool DeskLogic::guarded(const std::function<void()>& fn) {
    try {
        fn();
        return true;
    } catch (const std::exception& e) {
        ui_.msgBox(withArgs(translate("DeskLogic", "Operazione non riuscita:\n%1"), {e.what()}),
                   msgbox::kOkOnly | msgbox::kCritical, messageTitle());
    } catch (...) {
        ui_.msgBox(translate("DeskLogic", "Operazione non riuscita: errore sconosciuto."),
                   msgbox::kOkOnly | msgbox::kCritical, messageTitle());
    }
    changed();
    return false;
}

void DeskLogic::load(int currentYear) {
    // 1. The option string of the registry's first record.
    try {
        auto db = store::Database::open(state_.workDir, kRegistry);
        auto rs = db.openTable("AnagraficaHotels");
        state_.hotelOptions = rs.recordCount() < 1 ? std::string() : rs.field("CodiceAssistenza").toText();
    } catch (const std::exception& e) {
        ui_.msgBox(withArgs(translate("DeskLogic",
                                      "Impossibile leggere l'anagrafica degli alberghi \"%1\" nella cartella di "
                                      "lavoro %2:\n%3"),
                            {kRegistry, std::filesystem::absolute(state_.workDir).string(), e.what()}),
                   msgbox::kOkOnly | msgbox::kCritical, messageTitle());
        unloaded = true;
        changed();
        return;
    }

    // 2.-3. The stored password and the access gate.
    if (!passAccessGate()) {
        changed();
        return;
    }

    // 5. Month names and lengths.
    state_.setMonths();

    guarded([&] {
        // 6. The hotel list: every registry record numbered above 0.
        auto& hotels = combo1[2];
        hotels.clear();
        {
            auto db = store::Database::open(state_.workDir, kRegistry);
            auto rs = db.openTable("AnagraficaHotels");
            const std::string criterion = "Numero > 0";
            rs.findFirst(criterion);
            while (!rs.noMatch()) {
                hotels.addItem(padLeft(trim(rs.field("Numero").toText()), 3) + " " + rs.field("RagioneSociale").toText());
                rs.findNext(criterion);
            }
        }
        if (hotels.items.empty()) {
            ui_.msgBox(withArgs(translate("DeskLogic",
                                          "Nessun albergo in \"%1\" ha un numero maggiore di 0: non ci sono dati "
                                          "da mostrare."),
                                {kRegistry}),
                       msgbox::kOkOnly | msgbox::kExclamation, messageTitle());
        } else {
            chooseItem(2, 0);
        }
    });

    // 7. Where the figure files lie.
    try {
        state_.setDatabasePaths();
    } catch (const std::exception& e) {
        ui_.msgBox(e.what(), msgbox::kOkOnly | msgbox::kExclamation, messageTitle());
    }

    // 8. Chart types; the fourth is chosen.
    combo1[3].clear();
    for (const char* item : kChartTypeItems) combo1[3].addItem(translate("Chart", item));
    chooseItem(3, 3);

    // 9. This year.
    text1[0] = std::to_string(currentYear);

    // 10. Statistics; the first is chosen.
    combo1[0].clear();
    for (const auto& name : store::statisticNames()) combo1[0].addItem(name);
    chooseItem(0, 0);

    // 11. Statistics to compare with; the first is chosen.
    combo1[4].clear();
    for (const auto& name : store::comparisonNames()) combo1[4].addItem(name);
    chooseItem(4, 0);

    // 12. Month names as the chart's point labels.
    for (int k = 1; k <= 12; ++k) {
        graph1.setThisPoint(k);
        graph1.setLabelText(monthText(k));
    }
    changed();
}

bool DeskLogic::passAccessGate() {
    const SecurityPwd file = loadSecurityPwd(state_);
    state_.referencePassword.clear();
    state_.accessFlag = ui_.accessGate(makeGateRequest(state_, file));
    return state_.accessFlag == "S";
}

void DeskLogic::activate() {
    if (state_.accessFlag != "S") {
        unloaded = true;
        changed();
    }
}

void DeskLogic::chooseItem(int index, int item) {
    if (index < 0 || index >= kCombo1) return;
    combo1[static_cast<std::size_t>(index)].select(item);
    combo1Click(index);
}

// A selection (statistic, detail, hotel) titles the chart and gives the window its
// caption back, which the client-type batch of "&Stampa" leaves on the last client type.
void DeskLogic::selectionTitle() {
    caption = translate("DeskLogic", kCaption);
    graph1.setTitle(withArgs(translate("DeskLogic", "Zentorio %1 (%2-%3)"), {text1[0], combo1[0].text, combo1[1].text}));
}

void DeskLogic::combo1Click(int index) {
    guarded([&] {
        switch (index) {
            case 0: {
                selectionTitle();
                graph1.redraw();
                auto items = store::detailList(state_.workDir, state_.hotelNumber, combo1[0].text);
                combo1[1].clear();
                for (auto& item : items) combo1[1].addItem(std::move(item));
                break;
            }
            case 1: loadGrid(); break;
            case 2: selectHotel(); break;
            case 3:
                // The list holds the types in order; its texts may be translated.
                graph1.setChartType(combo1[3].listIndex >= 0 ? combo1[3].listIndex + 1
                                                             : static_cast<int>(val(left(combo1[3].text, 2))));
                graph1.redraw();
                break;
            case 4:
                if (auto items = store::comparisonDetailList(state_.workDir, state_.hotelNumber, combo1[4].text)) {
                    combo1[5].clear();
                    for (auto& item : *items) combo1[5].addItem(std::move(item));
                }
                break;
            default: break;
        }
    });
    changed();
}

double DeskLogic::hotelNumberOf(std::string_view item) { return std::trunc(val(left(item, 3))); }

void DeskLogic::selectHotel() {
    state_.hotelNumber = static_cast<std::int16_t>(hotelNumberOf(combo1[2].text));
    {
        auto db = store::Database::open(state_.workDir, kRegistry);
        auto rs = db.openTable("AnagraficaHotels");
        rs.findFirst("Numero = " + std::to_string(state_.hotelNumber));
        state_.hotelOptions = rs.noMatch() ? std::string(" ") : rs.field("CodiceAssistenza").toText();
    }
    combo1Click(0);
}

GridTarget DeskLogic::currentTarget() const {
    return {trim(combo1[2].text), combo1[0].text, combo1[1].text, text1[0]};
}

// From here on the month fields hold the figures of the current choice (or nothing, when
// the load fails): "&Registra" compares what it writes with this.
void DeskLogic::emptyGrid() {
    loadedFor_ = currentTarget();
    selectionTitle();
    graph1.setNumSets(1);
    graph1.setThisSet(1);
    for (int k = 1; k <= 12; ++k) {
        text1[static_cast<std::size_t>(k)].clear();
        graph1.setThisPoint(k);
        graph1.setGraphData(0);
    }
    graph1.redraw();
}

void DeskLogic::loadGrid() {
    emptyGrid();
    changed();

    const auto key = store::gridKey(combo1[0].text, combo1[1].text);
    if (key) {
        state_.requireFigurePaths();
        const bool money = store::gridShowsMoney(combo1[0].text, combo1[1].text);
        for (int k = 1; k <= 12; ++k) {
            graph1.setThisPoint(k);
            const auto sum = store::sumMonth(state_, *key, text1[0], k);
            auto& field = text1[static_cast<std::size_t>(k)];
            if (!sum) {
                field = "0";
            } else {
                field = money ? formatMoney(*sum, sep_) : formatPlain(*sum, sep_);
                graph1.setGraphData(*sum);
            }
        }
    }
    graph1.redraw();
}

void DeskLogic::text1GotFocus(int index) {
    if (index < 0 || index >= kText1) return;
    focus = {Focus::Kind::Text1, index};
    selStart = 0;
    selLength = static_cast<int>(charCount(text1[static_cast<std::size_t>(index)]));
}

void DeskLogic::text1KeyPress(int index, int keyAscii) {
    if (keyAscii != kKeyEnter || index < 0 || index >= kText1) return;
    guarded([&] {
        if (index == 0) {
            graph1.setTitle(withArgs(translate("DeskLogic", "Zentorio %1   ( %2 - %3 )"),
                                     {text1[0], combo1[0].text, combo1[1].text}));
            graph1.redraw();
            focus = {Focus::Kind::Combo1, 0};
        } else if (index <= 11) {
            text1GotFocus(index + 1);
        } else if (index == 12) {
            focus = {Focus::Kind::Tasto, 2};
        } else {
            focus = {Focus::Kind::Tasto, 5};
        }
    });
    changed();
}


}  // namespace zt::desktop
