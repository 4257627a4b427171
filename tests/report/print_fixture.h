#pragma once
// A working folder for printing: the hotel registry, "Stampanti.mdb" with `Stampanti` and
// `SetStampa`, "Contatori.mdb", and a report file of numbered lines.
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "report/expected_lines.h"
#include "support/testdir.h"

namespace zt::report::expect {

// Twelve codes as a `SetStampa` field: three digits each.
inline std::string codes(const std::array<int, 12>& c) {
    std::string s;
    char buf[8];
    for (int v : c) {
        std::snprintf(buf, sizeof buf, "%03d", v);
        s += buf;
    }
    return s;
}

// An SQL text literal for the fixtures.
inline std::string q(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') out += '\'';
        out += c;
    }
    return out + "'";
}

struct PrintFolder {
    const test::TestDir& dir;

    explicit PrintFolder(const test::TestDir& d, const std::string& hotelOptions = "") : dir(d) {
        clearWorkstation();
        dir.sql("AnagraficaHotels.mdb",
                "CREATE TABLE AnagraficaHotels(Numero INTEGER, RagioneSociale TEXT, CodiceAssistenza TEXT);"
                "INSERT INTO AnagraficaHotels VALUES(0,'Modello','KU'),(1,'Hotel Uno'," + q(hotelOptions) + ");");
        dir.sql("Stampanti.mdb",
                "CREATE TABLE Stampanti(NumeroHotel INTEGER, Destinazione TEXT, TipoStampa INTEGER, Linea TEXT);"
                "CREATE TABLE SetStampa(TipoStampa INTEGER, Compresso TEXT, Grassetto TEXT);");
        dir.sql("Contatori.mdb", "CREATE TABLE Contatori(NumeroHotel INTEGER, LungPagComp INTEGER, LungPagNoComp INTEGER);");
    }
    void options(const std::string& hotelOptions) const {
        dir.sql("AnagraficaHotels.mdb", "UPDATE AnagraficaHotels SET CodiceAssistenza = " + q(hotelOptions) +
                                            " WHERE Numero = 1;");
    }
    void destination(const std::string& name, int tipo, const std::string& linea, int hotel = 1) const {
        dir.sql("Stampanti.mdb", "INSERT INTO Stampanti VALUES(" + std::to_string(hotel) + "," + q(name) + "," +
                                     std::to_string(tipo) + "," + q(linea) + ");");
    }
    void setStampa(int tipo, const std::array<int, 12>& compresso, const std::array<int, 12>& grassetto) const {
        dir.sql("Stampanti.mdb", "INSERT INTO SetStampa VALUES(" + std::to_string(tipo) + "," + q(codes(compresso)) +
                                     "," + q(codes(grassetto)) + ");");
    }
    void counters(int hotel, int compressed, int normal) const {
        dir.sql("Contatori.mdb", "INSERT INTO Contatori VALUES(" + std::to_string(hotel) + "," +
                                     std::to_string(compressed) + "," + std::to_string(normal) + ");");
    }
    // The report file "fd" with the given lines, CR LF after each.
    void report(const std::vector<std::string>& lines) const {
        std::string bytes;
        for (const auto& l : lines) bytes += l + "\r\n";
        dir.write("fd", bytes);
    }
};

// Lines "riga 1" ... "riga n".
inline std::vector<std::string> numberedLines(int n) {
    std::vector<std::string> lines;
    for (int i = 1; i <= n; ++i) lines.push_back("riga " + std::to_string(i));
    return lines;
}

// Splits output bytes at CR LF, keeping what follows the last one as a last element.
inline std::vector<std::string> splitCrLf(const std::string& bytes) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = bytes.find("\r\n", start)) != std::string::npos; start = at + 2)
        parts.push_back(bytes.substr(start, at - start));
    parts.push_back(bytes.substr(start));
    return parts;
}

}  // namespace zt::report::expect
