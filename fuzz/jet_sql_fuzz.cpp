// The Jet SQL dialect: tokenizer, query and criterion parser, and the emitter over a
// fixed schema. What must hold for any text:
//  - the parser fails only with SyntaxError and the emitter only with ResolveError (any
//    other exception would reach the user without naming the token);
//  - tokens are slices of the input, in order, and the last one is End;
//  - what the emitter writes is exactly one SQLite statement that SQLite can read: a text
//    cannot end it early, add a second one or leave SQLite a syntax error.
#include <sqlite3.h>
#include <strings.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <algorithm>

#include "store/dialect/jet_emit.h"
#include "store/dialect/jet_sql.h"
#include "store/dialect/jet_text.h"

using namespace zt::store::jet;

namespace {

[[noreturn]] void broken(const char* what, std::string_view detail) {
    std::fprintf(stderr, "jet_sql_fuzz: %s: %.*s\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

// The tables the program's queries read, each in the open file and, for "Table In
// 'file'", in any other file (a name ending in "Missing.mdb" is a file that is not there).
struct Table {
    const char* name;
    std::vector<ColumnInfo> columns;
};

const std::vector<Table>& tables() {
    static const std::vector<Table> all = {
        {"Dettaglio", {{"NumeroHotel", Type::Number}, {"Tipo", Type::Text}, {"Dettaglio", Type::Text},
                       {"DataInserimento", Type::Text}, {"Valore", Type::Number}}},
        {"Zentoria", {{"NumeroHotel", Type::Number}, {"Tipo", Type::Text}, {"Dettaglio", Type::Text},
                      {"AnnoMese", Type::Text}, {"Valore", Type::Number}}},
        {"CodiciVari", {{"NumeroHotel", Type::Number}, {"Tipo", Type::Number}, {"Sigla", Type::Text},
                        {"Descrizione", Type::Text}, {"Libero", Type::Unknown}}},
        {"VociFattura", {{"NumeroHotel", Type::Number}, {"Codice", Type::Number}, {"Descrizione", Type::Text},
                         {"GruppoStatistico", Type::Number}}},
        {"Conto_Cliente", {{"Importo", Type::Number}, {"DataAddebito", Type::Text}, {"VoceAddebito", Type::Number}}},
        {"Incassi", {{"Importo", Type::Number}, {"DataEmissione", Type::Text}, {"NDocumento", Type::Number},
                     {"Nota", Type::Text}, {"Sigla", Type::Text}}},
        {"DatiFattura", {{"NDocumento", Type::Number}, {"Annullato", Type::Text}, {"CorrPagato", Type::Number},
                         {"ZentAcc", Type::Text}, {"DataEmissione", Type::Text}}},
        {"DettaglioFattura", {{"NDocumento", Type::Number}, {"Importo", Type::Number}, {"CodiceVoce", Type::Number},
                              {"DataEmissione", Type::Text}}},
        {"Scheda_Cliente", {{"DataArrivo", Type::Text}, {"DataPartenza", Type::Text}, {"Lingua", Type::Text},
                            {"Nazione", Type::Unknown}}},
    };
    return all;
}

class FixedSchema : public SchemaSource {
public:
    TableInfo table(const std::string& name, const std::optional<std::string>& inFile) override {
        if (inFile && inFile->ends_with("Missing.mdb")) throw ResolveError("file not found: " + *inFile);
        for (const auto& t : tables()) {
            if (name.size() != std::strlen(t.name) || strncasecmp(name.c_str(), t.name, name.size()) != 0) continue;
            return TableInfo{inFile ? "other" : "main", t.name, t.columns};
        }
        throw ResolveError("table \"" + name + "\" not found");
    }
    // The figure tables' index, so that equalities of texts are written with spellings.
    std::vector<std::vector<std::string>> indexes(const TableInfo& table) override {
        if (table.name == "Dettaglio" || table.name == "Zentoria") return {{"NumeroHotel", "Tipo", "Dettaglio"}};
        return {};
    }
    std::optional<std::vector<std::string>> spellings(const TableInfo&, const std::string&,
                                                      const std::vector<std::pair<std::string, std::string>>&,
                                                      const std::string& text) override {
        return std::vector<std::string>{firstSpelling(text), text, lastSpelling(text)};
    }
};

void stub(sqlite3_context* ctx, int, sqlite3_value**) { sqlite3_result_null(ctx); }

sqlite3* openSchema() {
    sqlite3* db = nullptr;
    if (sqlite3_open(":memory:", &db) != SQLITE_OK) broken("sqlite", "cannot open");
    std::string ddl = "ATTACH ':memory:' AS other;";
    for (const char* schema : {"main", "other"}) {
        for (const auto& t : tables()) {
            ddl += std::string("CREATE TABLE ") + schema + "." + t.name + "(";
            for (std::size_t i = 0; i < t.columns.size(); ++i) {
                const Type type = t.columns[i].type;
                ddl += (i ? ", " : "") + t.columns[i].name +
                       (type == Type::Text ? " TEXT" : type == Type::Number ? " REAL" : "");
            }
            ddl += ");";
        }
    }
    if (sqlite3_exec(db, ddl.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) broken("sqlite", sqlite3_errmsg(db));
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    for (const char* name : sqlite_fn::kFunctions)
        sqlite3_create_function(db, name, -1, flags, nullptr, stub, nullptr, nullptr);
    sqlite3_create_collation(db, sqlite_fn::kCollation, SQLITE_UTF8, nullptr,
                             [](void*, int na, const void* a, int nb, const void* b) {
                                 return compareText({static_cast<const char*>(a), static_cast<std::size_t>(na)},
                                                    {static_cast<const char*>(b), static_cast<std::size_t>(nb)});
                             });
    return db;
}

// The emitted SQL is one statement without a syntax error. SQLite may still refuse it
// for reasons a user's query can cause (a sum inside a sum, a sub-query of two
// columns): those come back to the user as an error naming the file, which is fine.
void checkSql(sqlite3* db, const std::string& sql) {
    if (sql.find('\0') != std::string::npos) return;  // a NUL inside a quoted text: SQLite stops there
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &st, &tail);
    const std::string_view rest = tail ? std::string_view(tail, sql.c_str() + sql.size() - tail) : "";
    sqlite3_finalize(st);
    if (rc == SQLITE_OK) {
        if (rest.find_first_not_of(" \t\r\n") != std::string_view::npos) broken("more than one statement", sql);
        return;
    }
    const std::string_view msg = sqlite3_errmsg(db);
    if (msg.find("syntax error") != std::string_view::npos || msg.find("unrecognized token") != std::string_view::npos ||
        msg.find("incomplete input") != std::string_view::npos)
        broken(sqlite3_errmsg(db), sql);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static sqlite3* db = openSchema();
    static FixedSchema schema;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    try {
        const auto tokens = tokenize(text);
        if (tokens.empty() || tokens.back().kind != Tok::End) broken("no End token", text);
        std::size_t at = 0;
        for (const auto& t : tokens) {
            if (t.offset < at || t.offset > size) broken("token out of order", text);
            if (!t.text.empty() && (t.text.data() < text.data() || t.text.data() + t.text.size() > text.data() + size))
                broken("token outside the text", text);
            at = t.offset + t.text.size();
        }
    } catch (const SyntaxError&) {
    }

    try {
        const auto query = parseQuery(text);
        try {
            checkSql(db, emitQuery(*query, schema).sql);
        } catch (const ResolveError&) {
        }
        // The figure server's dialect: the emitter fails only with ResolveError, and
        // every text it writes is closed (quotes come in pairs, '' inside a text).
        try {
            const std::string pg = emitQuery(*query, schema, Dialect::Postgres).sql;
            if (pg.empty()) broken("empty PostgreSQL statement", text);
            if (std::count(pg.begin(), pg.end(), '\'') % 2 != 0) broken("unclosed text in PostgreSQL", pg);
            if (std::count(pg.begin(), pg.end(), '"') % 2 != 0) broken("unclosed name in PostgreSQL", pg);
        } catch (const ResolveError&) {
        }
    } catch (const SyntaxError&) {
    }

    try {
        const auto condition = parseCondition(text);
        const TableInfo dettaglio = schema.table("Dettaglio", std::nullopt);
        try {
            checkSql(db, "SELECT r.rowid FROM main.\"Dettaglio\" AS r WHERE " +
                             emitTableCondition(*condition, dettaglio, "r", schema));
        } catch (const ResolveError&) {
        }
        try {
            checkSql(db, "SELECT * FROM (SELECT NumeroHotel, Tipo, Valore FROM main.Dettaglio) WHERE " +
                             emitColumnsCondition(*condition, {{"NumeroHotel", Type::Number}, {"Tipo", Type::Text},
                                                               {"Valore", Type::Number}},
                                                  schema));
        } catch (const ResolveError&) {
        }
    } catch (const SyntaxError&) {
    }
    return 0;
}
