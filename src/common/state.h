#pragma once
// The program's module-level state: one instance for the run of the program, set at
// start-up and by the hotel selection, read everywhere.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace zt {

inline constexpr std::array<const char*, 12> kMonthNames = {
    "Gennaio", "Febbraio", "Marzo",     "Aprile",  "Maggio",   "Giugno",
    "Luglio",  "Agosto",   "Settembre", "Ottobre", "Novembre", "Dicembre"};
// Month `month` (1..12) as the window and its messages name it, through the translation
// (context "Months"); the report and the stored files keep kMonthNames. "?" outside 1..12.
std::string monthText(int month);
// February always 28.
inline constexpr std::array<std::int16_t, 12> kMonthLengths = {31, 28, 31, 30, 31, 30,
                                                               31, 31, 30, 31, 30, 31};

struct ProgramState {
    // The working folder: bare database and file names are resolved against it.
    std::filesystem::path workDir = ".";

    std::string hotelOptions;        // CodiceAssistenza of the hotel registry
    std::string storedPassword;      // from "Security.pwd"; empty when absent
    std::int32_t storedCheck = 0;    // check number from "Security.pwd"; 0 when absent
    std::string referencePassword;   // empty before the access gate is shown
    std::string accessFlag;          // "S" once the access gate grants access

    std::array<std::string, 12> monthNames{};       // filled at start-up
    std::array<std::int16_t, 12> monthLengths{};    // filled at start-up

    std::string summaryDbPath;       // "Zentoria.mdb", or DIRSH + "\Zentoria.mdb"
    std::string summaryTable;        // "Zentoria"
    std::string detailDbPath;        // "Dettaglio.mdb", or DIRSH + "\Dettaglio.mdb"
    std::string detailTable;         // "Dettaglio"

    std::int16_t hotelNumber = 0;    // set by the hotel selection; 0 until then

    // Why the figure database paths could not be set ("&" with DIRSH unset or empty);
    // empty when they are set.
    std::string figurePathsProblem;

    // Fills month names and lengths (start-up step 5).
    void setMonths();
    // Sets the figure database paths and table names from the hotel option string:
    // with "&" they lie in the folder named by DIRSH (DIRSH + "\Zentoria.mdb", with a
    // backslash, which the database layer turns into a folder separator; the variable's
    // name is matched without regard to case). When the option asks for it and the
    // variable is not set or is empty, keeps the message in figurePathsProblem, leaves
    // the paths as they were and throws it as a std::runtime_error (unless the figure
    // server is set, which holds the tables); the message is in Italian and names DIRSH.
    void setDatabasePaths();
    // Throws figurePathsProblem as a std::runtime_error when the paths could not be set;
    // every operation on a figure table calls it before reading or writing anything.
    // While the figure server is set (figuresServerSetting() in env.h) the tables are
    // there, whatever "&" and DIRSH say, and nothing is thrown.
    void requireFigurePaths() const;
    // The same for the figure *files* themselves, server or not (figures push and pull).
    void requireFigureFiles() const;
    // Whether the figure tables can be reached: requireFigurePaths would not throw.
    bool figuresReachable() const;
};

// The one instance of the running program.
ProgramState& programState();

}  // namespace zt
