#pragma once
// The two figure tables and their fields, as every back end names them: `Zentoria`, the
// monthly summary this program writes (a month per row, `AnnoMese`), and `Dettaglio`,
// written by the operational programs (a dated row, `DataInserimento`). Both carry the
// hotel, the statistic, the detail and the value.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/text.h"

namespace zt::store {

namespace field {
inline constexpr std::string_view kHotel = "NumeroHotel";
inline constexpr std::string_view kTipo = "Tipo";
inline constexpr std::string_view kDettaglio = "Dettaglio";
inline constexpr std::string_view kAnnoMese = "AnnoMese";
inline constexpr std::string_view kDataInserimento = "DataInserimento";
inline constexpr std::string_view kValore = "Valore";
}  // namespace field

// A figure table: its name and the field that dates its rows.
struct FigureTable {
    std::string_view table;
    std::string_view periodField;
};
inline constexpr FigureTable kSummaryTable{"Zentoria", field::kAnnoMese};
inline constexpr FigureTable kDetailTable{"Dettaglio", field::kDataInserimento};
// Both, in that order.
inline constexpr std::array<FigureTable, 2> kFigureTables{kSummaryTable, kDetailTable};

// The fields of a table in the order of the figure files.
inline std::vector<std::string> fieldsOf(const FigureTable& t) {
    return {std::string(field::kHotel), std::string(field::kTipo), std::string(field::kDettaglio),
            std::string(t.periodField), std::string(field::kValore)};
}

// "NumeroHotel = n and Tipo = 'tipo'": how every Jet criterion on the figure tables
// begins.
inline std::string hotelAndTipo(std::int64_t hotel, std::string_view tipo) {
    return std::string(field::kHotel) + " = " + std::to_string(hotel) + " and " + std::string(field::kTipo) + " = " +
           sqlText(tipo);
}

}  // namespace zt::store
