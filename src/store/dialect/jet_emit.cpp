#include "store/dialect/jet_emit.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "common/text.h"
#include "store/dialect/jet_text.h"

namespace zt::store::jet {

std::string pgFoldSql(const std::string& text) {
    const auto& maps = characterMaps();
    return "translate(" + text + ", " + sqlText(maps.foldFrom) + ", " + sqlText(maps.foldTo) + ")";
}

std::string quoteIdent(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

namespace {

// The most index walks a condition's spellings are looked up along (one per combination of
// the values fixing the fields before it: a chain of a few hundred hotels).
constexpr std::size_t kMaxSeekWalks = 512;

struct Sql {
    Sql() = default;
    Sql(std::string t, Type ty, std::optional<std::string> lit = std::nullopt)
        : text(std::move(t)), type(ty), literal(std::move(lit)) {}
    std::string text;
    Type type = Type::Unknown;
    std::optional<std::string> literal;  // the value of a text written in the query
};

// One table of a FROM clause as the statement names it.
struct Source {
    std::string name;     // the table's name, for unqualified look-up messages
    std::string alias;    // the Jet alias (or the table name)
    std::string sqlAlias; // the alias in the emitted SQL; empty: columns are unqualified
    std::vector<ColumnInfo> columns;
    std::string schema;   // the table's schema; empty for the columns of a query
};

struct Frame {
    std::vector<Source> sources;
    // Select-list names usable in ORDER BY: alias -> emitted expression.
    std::vector<std::pair<std::string, Sql>> outputs;
};

bool isAggregateName(const std::string& u) {
    return u == "SUM" || u == "COUNT" || u == "AVG" || u == "MIN" || u == "MAX";
}

bool containsAggregate(const Expr& e) {
    if (e.kind == Expr::Kind::Call && isAggregateName(upperAscii(e.text))) return true;
    if (e.kind == Expr::Kind::Subquery || e.kind == Expr::Kind::InSelect) {
        return !e.args.empty() && containsAggregate(*e.args[0]);
    }
    for (const auto& a : e.args)
        if (a && containsAggregate(*a)) return true;
    return false;
}

// Jet LIKE pattern to SQLite LIKE: "*" any text, "?" one character.
std::string likePattern(const std::string& jet) {
    std::string out;
    for (char c : jet) {
        if (c == '*') out += '%';
        else if (c == '?') out += '_';
        else if (c == '%' || c == '_' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '[' || c == '#') {
            throw ResolveError("the pattern character \"" + std::string(1, c) + "\" of Like is not supported");
        } else {
            out += c;
        }
    }
    return out;
}

// Whether a SELECT sums or groups its rows.
bool isAggregate(const Select& s) {
    if (!s.groupBy.empty() || s.having != nullptr) return true;
    for (const auto& item : s.items)
        if (item.expr && containsAggregate(*item.expr)) return true;
    return false;
}

// An aggregate without GROUP BY: one row, or none when HAVING refuses it.
bool isSingleRow(const Select& s) { return s.groupBy.empty() && isAggregate(s); }

// ---- Jet's text rule --------------------------------------------------------------
// Texts compare, sort and group without regard to case (store/jet_text.h). Everything
// the dialect writes for it is in this block; docs/JET_SQL.md lists the comparisons.
// A comparison with a text that cannot differ in case from anything (a caseless text
// for "=", "<>" and In; a text that sorts below every letter, such as a date of
// digits, for "<", ">", "<=", ">=" and Between) is written as SQLite compares, so an
// index serves it as before.

std::string collated(const std::string& sql) { return sql + " COLLATE " + sqlite_fn::kCollation; }

// A value as ORDER BY, GROUP BY, Min and Max see it: a text in Jet's order.
std::string ordered(const Sql& v) { return v.type == Type::Number ? v.text : collated(v.text); }

bool isOrdering(const std::string& op) { return op == "<" || op == ">" || op == "<=" || op == ">="; }

// Whether comparing with `v` by bytes gives Jet's answer for the operator.
bool bytewiseSafe(const Sql& v, const std::string& op) {
    if (!v.literal) return false;
    return isOrdering(op) ? sortsBelowLetters(*v.literal) : isCaseless(*v.literal);
}

// l op r, both already converted by Jet's number rule.
std::string compareSql(const Sql& l, const std::string& op, const Sql& r) {
    if (l.type == Type::Number || r.type == Type::Number || bytewiseSafe(l, op) || bytewiseSafe(r, op))
        return "(" + l.text + " " + op + " " + r.text + ")";
    return "(" + l.text + " " + op + " " + collated(r.text) + ")";
}

// x [Not] Between lo And hi.
std::string betweenSql(const Sql& x, bool negated, const Sql& lo, const Sql& hi) {
    const bool plain = x.type == Type::Number || (bytewiseSafe(lo, "<") && bytewiseSafe(hi, "<"));
    return "(" + (plain ? x.text : collated(x.text)) + (negated ? " NOT BETWEEN " : " BETWEEN ") + lo.text + " AND " +
           hi.text + ")";
}

// x [Not] In (items), the items already converted.
std::string inListSql(const Sql& x, bool negated, const std::vector<Sql>& items) {
    const bool plain = x.type == Type::Number ||
                       std::all_of(items.begin(), items.end(), [](const Sql& it) { return bytewiseSafe(it, "="); });
    std::string s = "(" + (plain ? x.text : collated(x.text)) + (negated ? " NOT IN (" : " IN (");
    for (std::size_t i = 0; i < items.size(); ++i) s += (i ? ", " : "") + items[i].text;
    return s + "))";
}

// x [Not] In (Select …) of a text.
std::string inSelectSql(const Sql& x, bool negated, const std::string& sub, Type subType) {
    const bool plain = x.type == Type::Number || subType == Type::Number;
    return "(" + (plain ? x.text : collated(x.text)) + (negated ? " NOT IN (" : " IN (") + sub + "))";
}

// x [Not] Like pattern (Jet's "*" and "?").
std::string likeSql(const Sql& x, bool negated, const std::string& pattern) {
    const bool plain = isCaseless(pattern);
    return "(" + (plain ? x.text : std::string(sqlite_fn::kFold) + "(" + x.text + ")") +
           (negated ? " NOT LIKE " : " LIKE ") + sqlText(likePattern(plain ? pattern : foldText(pattern))) +
           " ESCAPE '\\')";
}

// A value as Instr searches it: folded, which keeps every character's position.
std::string searched(const Sql& v, const Sql& sought) {
    if (sought.literal && isCaseless(*sought.literal)) return v.text;
    return std::string(sqlite_fn::kFold) + "(" + v.text + ")";
}

// "Field = 'text'" over a text field that an index can seek: the field compared exactly
// with the spellings of the text the table holds (SchemaSource::spellings), so the
// index seeks each one. No spelling: the text itself, which matches nothing.
std::string seekSql(const std::string& field, const std::vector<std::string>& spellings, const std::string& text) {
    std::string list;
    for (const auto& s : spellings) list += (list.empty() ? "" : ", ") + sqlText(s);
    return "(" + field + " COLLATE BINARY IN (" + (list.empty() ? sqlText(text) : list) + "))";
}

// ---- PostgreSQL's spelling of what the SQLite connection does with functions of its
// own (database.cpp): the same rules, written as plain PostgreSQL expressions, so the
// server needs no functions of the program's.

// A text as a number the way Jet converts it for a comparison (zt_num): blanks around it
// allowed, anything else that is not a number gives null.
std::string pgNumber(const std::string& x) {
    const std::string t = "CAST(" + x + " AS text)";
    return "(CASE WHEN " + t + " ~ '^\\s*[-+]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][-+]?[0-9]+)?\\s*$' THEN CAST(" + t +
           " AS numeric) END)";
}

// Val (zt_val): the leading number of the text with its blanks taken out (a "D"
// exponent read as "E"), 0 when there is none; null stays null.
std::string pgVal(const std::string& x) {
    const std::string squeezed = "translate(CAST(" + x + " AS text), E' \\t\\n\\r', '')";
    return "(CASE WHEN " + x + " IS NULL THEN NULL ELSE coalesce(CAST(translate(substring(" + squeezed +
           " from '^[-+]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eEdD][-+]?[0-9]+)?'), 'dD', 'ee') AS numeric), 0) END)";
}

std::string pgText(const std::string& x) { return "CAST(" + x + " AS text)"; }
std::string pgInt(const std::string& x) { return "CAST(" + x + " AS integer)"; }

class Emitter {
public:
    explicit Emitter(SchemaSource& schema, Dialect dialect = Dialect::Sqlite) : schema_(schema), dialect_(dialect) {}

    EmittedQuery topQuery(const Select& s) {
        EmittedQuery out;
        out.sql = select(s, /*withPosition=*/true, /*numericFirst=*/false, &out.columns);
        out.singleRow = isSingleRow(s);
        out.params = std::move(params_);
        return out;
    }

    std::string condition(const Expr& e, Frame frame) {
        frames_.push_back(std::move(frame));
        auto sql = where(e);
        frames_.pop_back();
        return sql;
    }

    std::vector<std::string> takeParams() { return std::move(params_); }

private:
    SchemaSource& schema_;
    Dialect dialect_;
    std::vector<Frame> frames_;
    int aliasCounter_ = 0;
    std::vector<std::string> params_;  // PostgreSQL: the values bound as $1, $2, …

    bool pg() const { return dialect_ == Dialect::Postgres; }

    // A text written in the query: into the SQLite text through sqlText; on PostgreSQL a
    // bound parameter.
    std::string textValue(const std::string& v) {
        if (!pg()) return sqlText(v);
        params_.push_back(v);
        return "CAST($" + std::to_string(params_.size()) + " AS text)";
    }
    // A number written in the query (as the tokenizer read it: digits, a point, an
    // exponent). On PostgreSQL bound, typed so that an index of an integer field serves
    // an equality with a whole number.
    std::string numberValue(const std::string& v) {
        if (!pg()) return v;
        params_.push_back(v);
        const bool whole = !v.empty() && v.size() <= 18 && std::all_of(v.begin(), v.end(), ::isdigit);
        const char* type = !whole ? "numeric" : v.size() <= 9 ? "integer" : "bigint";
        return "CAST($" + std::to_string(params_.size()) + " AS " + type + ")";
    }
    // A value as a number by Jet's rule for comparisons (zt_num on SQLite).
    std::string toNumber(const std::string& x) const { return pg() ? pgNumber(x) : std::string(sqlite_fn::kNum) + "(" + x + ")"; }
    // A value joined by "&": Null counts as "".
    std::string joinable(const std::string& x) const {
        return pg() ? "coalesce(" + pgText(x) + ", '')" : "ifnull(" + x + ", '')";
    }
    // The table order of a table's rows.
    std::string rowOrder(const std::string& alias) const { return alias + (pg() ? ".ctid" : ".rowid"); }
    // ---- Jet's text rule on PostgreSQL: the same decisions as the SQLite block above,
    // written with translate() over the rule's character maps (jet_text.h), which needs
    // nothing installed on the server. A text's folded form (pgFoldSql) answers
    // equality, In, Like and Instr; its key and folded form, compared code point by
    // code point (COLLATE "C"), give Jet's order. Grouping (GROUP BY, DISTINCT, Min,
    // Max) keeps the server's byte order: docs/JET_SQL.md.
    static std::string asText(const Sql& v) { return v.type == Type::Text ? v.text : pgText(v.text); }
    static std::string pgFold(const Sql& v) { return pgFoldSql(asText(v)); }
    static std::string pgKey(const Sql& v) {
        const auto& maps = characterMaps();
        return "translate(" + asText(v) + ", " + sqlText(maps.keyFrom) + ", " + sqlText(maps.keyTo) + ")";
    }
    static std::string pgOrderRow(const Sql& v) {
        return "ROW(" + pgKey(v) + " COLLATE \"C\", " + pgFold(v) + " COLLATE \"C\")";
    }
    std::string pgOrdered(const Sql& v, bool descending) const {
        const std::string dir = descending ? " DESC" : "";
        if (v.type == Type::Number) return v.text + dir;
        return pgKey(v) + " COLLATE \"C\"" + dir + ", " + pgFold(v) + " COLLATE \"C\"" + dir;
    }
    std::string grouped(const Sql& v) const { return pg() ? v.text : ordered(v); }
    // An equality of texts is always written folded, a text without case too: the
    // server's keys and indexes hold the folded fields, so the same expression seeks them.
    static std::string pgCompare(const Sql& l, const std::string& op, const Sql& r) {
        if (l.type == Type::Number || r.type == Type::Number) return "(" + l.text + " " + op + " " + r.text + ")";
        if (!isOrdering(op)) return "(" + pgFold(l) + " " + op + " " + pgFold(r) + ")";
        if (bytewiseSafe(l, op) || bytewiseSafe(r, op)) return "(" + l.text + " " + op + " " + r.text + ")";
        return "(" + pgOrderRow(l) + " " + op + " " + pgOrderRow(r) + ")";
    }
    static std::string pgBetween(const Sql& x, bool negated, const Sql& lo, const Sql& hi) {
        if (x.type == Type::Number || (bytewiseSafe(lo, "<") && bytewiseSafe(hi, "<")))
            return "(" + x.text + (negated ? " NOT BETWEEN " : " BETWEEN ") + lo.text + " AND " + hi.text + ")";
        const std::string within = "(" + pgOrderRow(x) + " >= " + pgOrderRow(lo) + " AND " + pgOrderRow(x) +
                                   " <= " + pgOrderRow(hi) + ")";
        return negated ? "(NOT " + within + ")" : within;
    }
    static std::string pgInList(const Sql& x, bool negated, const std::vector<Sql>& items) {
        const bool plain = x.type == Type::Number;
        std::string s = "(" + (plain ? x.text : pgFold(x)) + (negated ? " NOT IN (" : " IN (");
        for (std::size_t i = 0; i < items.size(); ++i) s += (i ? ", " : "") + (plain ? items[i].text : pgFold(items[i]));
        return s + "))";
    }
    static std::string pgInSelect(const Sql& x, bool negated, const std::string& sub, Type subType) {
        if (x.type == Type::Number || subType == Type::Number)
            return "(" + x.text + (negated ? " NOT IN (" : " IN (") + sub + "))";
        return "(" + pgFold(x) + (negated ? " NOT IN (" : " IN (") + "SELECT " +
               pgFold(Sql{"zt_in.v", Type::Unknown}) + " FROM (" + sub + ") AS zt_in(v)))";
    }
    std::string pgLike(const Sql& x, bool negated, const std::string& pattern) {
        const bool plain = isCaseless(pattern);
        return "(" + (plain ? asText(x) : pgFold(x)) + (negated ? " NOT LIKE " : " LIKE ") +
               textValue(likePattern(plain ? pattern : foldText(pattern))) + " ESCAPE '\\')";
    }

    std::string tableName(const TableInfo& info) const {
        return info.schema.empty() ? quoteIdent(info.name) : quoteIdent(info.schema) + "." + quoteIdent(info.name);
    }

    // FROM: each table as the schema knows it, under an alias of its own. Opens the
    // query's frame, in which its names are resolved.
    std::string openFrame(const Select& s) {
        Frame frame;
        std::string from;
        for (const auto& ref : s.from) {
            TableInfo info = schema_.table(ref.name, ref.inFile);
            Source src;
            src.name = info.name;
            src.alias = ref.alias.empty() ? ref.name : ref.alias;
            src.sqlAlias = "q" + std::to_string(++aliasCounter_);
            src.columns = info.columns;
            src.schema = info.schema;
            if (!from.empty()) from += ", ";
            from += tableName(info) + " AS " + src.sqlAlias;
            frame.sources.push_back(std::move(src));
        }
        frames_.push_back(std::move(frame));
        return from;
    }

    struct SelectItems {
        std::vector<std::string> sql;   // "value AS name"
        std::vector<Sql> values;        // the items' values, for DISTINCT
        std::vector<ColumnInfo> columns;
    };

    // The select items, "*" (or "t.*") expanded over the frame's tables. With
    // `numericFirst`, a text first item is compared as a number (In (Select …)).
    SelectItems selectItems(const Select& s, bool numericFirst) {
        SelectItems out;
        int exprNo = 1000;
        for (const auto& item : s.items) {
            if (item.star) {
                bool any = false;
                for (const auto& src : frames_.back().sources) {
                    if (!item.starQualifier.empty() && !equalsNoCase(item.starQualifier, src.alias)) continue;
                    any = true;
                    for (const auto& c : src.columns) {
                        out.sql.push_back(src.sqlAlias + "." + quoteIdent(c.name) + " AS " + quoteIdent(c.name));
                        out.values.push_back({src.sqlAlias + "." + quoteIdent(c.name), c.type});
                        out.columns.push_back(c);
                    }
                }
                if (!any) throw ResolveError("table \"" + item.starQualifier + "\" is not in the FROM clause");
                continue;
            }
            Sql v = expr(*item.expr);
            std::string name = item.alias;
            if (name.empty()) name = item.expr->kind == Expr::Kind::Column ? item.expr->text : "Expr" + std::to_string(exprNo++);
            if (numericFirst && out.sql.empty() && v.type == Type::Text) v = {toNumber(v.text), Type::Number};
            out.sql.push_back(v.text + " AS " + quoteIdent(name));
            out.values.push_back(v);
            out.columns.push_back({name, v.type});
            frames_.back().outputs.emplace_back(name, v);
        }
        return out;
    }

    // GROUP BY: every item under DISTINCT, then the query's own terms.
    std::vector<std::string> groupTerms(const Select& s, const std::vector<Sql>& values, bool aggregate) {
        std::vector<std::string> groupBy;
        if (s.distinct) {
            if (aggregate) throw ResolveError("DISTINCT together with sums or GROUP BY is not supported");
            // A number by its position (a number written as an expression would name a
            // column), a text in Jet's order.
            for (std::size_t i = 0; i < values.size(); ++i)
                groupBy.push_back(values[i].type == Type::Number ? std::to_string(i + 1) : grouped(values[i]));
        }
        for (const auto& g : s.groupBy) {
            const std::size_t boundBefore = params_.size();
            const Sql term = expr(*g);
            // On PostgreSQL a term written with values of its own ($n) is not the same
            // expression as the select item it repeats ("Left$(d,6)" in both), which the
            // server then refuses; it groups by that item's position instead (the same
            // grouping: the server groups byte by byte either way).
            if (pg() && boundBefore < params_.size())
                if (auto at = sameItem(term, values)) {
                    params_.resize(boundBefore);
                    groupBy.push_back(std::to_string(*at + 1));
                    continue;
                }
            groupBy.push_back(grouped(term));
        }
        return groupBy;
    }

    // The SQL text with each bound value ($n) written in its place, for comparing two
    // expressions.
    std::string withValues(const std::string& text) const {
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            std::size_t j = i + 1;
            while (text[i] == '$' && j < text.size() && ::isdigit(static_cast<unsigned char>(text[j]))) ++j;
            if (text[i] == '$' && j > i + 1) {
                const std::size_t n = std::stoul(text.substr(i + 1, j - i - 1));
                out += n >= 1 && n <= params_.size() ? "\x01" + params_[n - 1] + "\x01" : text.substr(i, j - i);
                i = j - 1;
            } else {
                out += text[i];
            }
        }
        return out;
    }
    // The index of the select item that is the same expression as `term`, if any.
    std::optional<std::size_t> sameItem(const Sql& term, const std::vector<Sql>& values) const {
        const std::string want = withValues(term.text);
        for (std::size_t i = 0; i < values.size(); ++i)
            if (withValues(values[i].text) == want) return i;
        return std::nullopt;
    }

    // ORDER BY: the query's terms, then, when the rows are numbered, the table's order.
    std::string orderTerms(const Select& s, bool withPosition, bool aggregate) {
        std::string order;
        for (const auto& o : s.orderBy) {
            if (!order.empty()) order += ", ";
            order += pg() ? pgOrdered(orderTerm(*o.expr), o.descending)
                          : ordered(orderTerm(*o.expr)) + (o.descending ? " DESC" : "");
        }
        const bool singleTable = frames_.back().sources.size() == 1;
        if (withPosition && !aggregate && !s.distinct && singleTable) {
            order += order.empty() ? "" : ", ";
            order += rowOrder(frames_.back().sources[0].sqlAlias);
        }
        return order;
    }

    static std::string joined(const std::vector<std::string>& terms) {
        std::string out;
        for (std::size_t i = 0; i < terms.size(); ++i) out += (i ? ", " : "") + terms[i];
        return out;
    }

    // A query. With `withPosition`, the rows carry their position in the query's order
    // (zt_pos), by which a recordset walks and finds them.
    std::string select(const Select& s, bool withPosition, bool numericFirst, std::vector<ColumnInfo>* columns) {
        // The parts are written in this order, which numbers the values bound on the
        // server ($1, $2, …).
        const std::string from = openFrame(s);
        const bool aggregate = isAggregate(s);
        const bool singleRow = isSingleRow(s);
        SelectItems items = selectItems(s, numericFirst);
        const std::vector<std::string> groupBy = groupTerms(s, items.values, aggregate);
        const std::string order = orderTerms(s, withPosition, aggregate);

        std::string sql = "SELECT " + (items.sql.empty() ? std::string("NULL") : joined(items.sql));
        // A sum without GROUP BY gives at most one row: its position is 1 and nothing is
        // sorted (a numbering window and an ORDER BY cost more than the sum itself).
        if (withPosition && singleRow) sql += ", 1 AS zt_pos";
        else if (withPosition) sql += ", row_number() OVER (" + (order.empty() ? "" : "ORDER BY " + order) + ") AS zt_pos";
        sql += " FROM " + from;
        if (s.where) sql += " WHERE " + where(*s.where);
        if (!groupBy.empty()) sql += " GROUP BY " + joined(groupBy);
        if (s.having) sql += " HAVING " + expr(*s.having).text;
        if (withPosition) sql += singleRow ? "" : " ORDER BY zt_pos";
        else if (!order.empty()) sql += " ORDER BY " + order;
        if (s.top) sql += " LIMIT " + std::to_string(*s.top);

        frames_.pop_back();
        if (columns) *columns = std::move(items.columns);
        return sql;
    }

    // A WHERE condition (or a find's criterion): its conditions joined by And, each an
    // equality that seeks an index where it can (seek), as written otherwise.
    std::string where(const Expr& e) {
        std::vector<const Expr*> terms;
        conjuncts(e, terms);
        // The equalities that seek, found in turns: one whose index begins with a field
        // another seeking equality fixes waits for that one's spellings.
        std::map<const Expr*, std::vector<std::string>> spelled;
        for (bool more = true; more;) {
            more = false;
            for (const Expr* t : terms) {
                if (spelled.count(t)) continue;
                if (auto found = seekSpellings(*t, terms, spelled)) {
                    spelled[t] = std::move(*found);
                    more = true;
                }
            }
        }
        std::string out;
        for (const Expr* t : terms) {
            std::string sql;
            if (auto it = spelled.find(t); it != spelled.end()) {
                const auto term = seekTerm(*t);
                sql = seekSql(expr(*term->field).text, it->second, term->text->text);
            } else {
                sql = expr(*t).text;
            }
            out += (out.empty() ? "" : " AND ") + sql;
        }
        return terms.size() == 1 ? out : "(" + out + ")";
    }

    static void conjuncts(const Expr& e, std::vector<const Expr*>& out) {
        if (e.kind == Expr::Kind::Binary && e.op == "AND") {
            conjuncts(*e.args[0], out);
            conjuncts(*e.args[1], out);
        } else {
            out.push_back(&e);
        }
    }

    // A field of a table of the innermost FROM clause: its table and column.
    std::optional<std::pair<const Source*, ColumnInfo>> tableColumn(const Expr& e) {
        if (e.kind != Expr::Kind::Column) return std::nullopt;
        const Source* found = nullptr;
        ColumnInfo column;
        for (const auto& src : frames_.back().sources) {
            if (!e.qualifier.empty() && !equalsNoCase(e.qualifier, src.alias) && !equalsNoCase(e.qualifier, src.name))
                continue;
            for (const auto& c : src.columns) {
                if (!equalsNoCase(c.name, e.text)) continue;
                if (found) return std::nullopt;  // ambiguous: expr() says so
                found = &src;
                column = c;
            }
        }
        if (!found || found->schema.empty()) return std::nullopt;
        return std::make_pair(found, column);
    }

    // "Field = 'text'" over a text field of a table and a text with letters.
    struct SeekTerm {
        const Expr* field;
        const Expr* text;
        const Source* source;
        ColumnInfo column;
    };
    std::optional<SeekTerm> seekTerm(const Expr& t) {
        if (t.kind != Expr::Kind::Compare || t.op != "=") return std::nullopt;
        const bool fieldFirst = t.args[1]->kind == Expr::Kind::String;
        const Expr* fieldExpr = t.args[fieldFirst ? 0 : 1].get();
        const Expr* textExpr = t.args[fieldFirst ? 1 : 0].get();
        if (textExpr->kind != Expr::Kind::String || isCaseless(textExpr->text) || !isValidUtf8(textExpr->text))
            return std::nullopt;
        const auto field = tableColumn(*fieldExpr);
        if (!field || field->second.type != Type::Text) return std::nullopt;
        return SeekTerm{fieldExpr, textExpr, field->first, field->second};
    }

    // The spellings of a SeekTerm among the conditions joined by And, when an index of
    // the table begins with fields other conditions fix ("NumeroHotel = 1", or a
    // seeking equality already `spelled`) followed by this field: written by seekSql,
    // which seeks that index; nullopt otherwise (compareSql, without an index). Never on
    // the figure server: its index holds the codes folded, which the folded comparison
    // seeks, and its SQL holds no value of the query (they are bound).
    std::optional<std::vector<std::string>> seekSpellings(const Expr& t, const std::vector<const Expr*>& terms,
                                                          const std::map<const Expr*, std::vector<std::string>>& spelled) {
        if (pg()) return std::nullopt;
        const auto term = seekTerm(t);
        if (!term) return std::nullopt;
        const Source* src = term->source;
        // The values other conditions fix fields to, as SQL: one value, or the spellings
        // of a seeking equality.
        std::vector<std::pair<std::string, std::vector<std::string>>> fixed;
        for (const Expr* u : terms) {
            if (u == &t) continue;
            if (auto it = spelled.find(u); it != spelled.end()) {
                const auto other = seekTerm(*u);
                std::vector<std::string> values;
                for (const auto& v : it->second) values.push_back(sqlText(v));
                if (values.empty()) values.push_back(sqlText(other->text->text));
                fixed.emplace_back(other->column.name, std::move(values));
                continue;
            }
            if (u->kind == Expr::Kind::InList && !u->negated) {
                // "NumeroHotel In (1, 2, 3)": each number is a walk of its own.
                const auto other = tableColumn(*u->args[0]);
                if (!other || other->first != src || other->second.type != Type::Number) continue;
                std::vector<std::string> values;
                for (std::size_t i = 1; i < u->args.size(); ++i)
                    if (u->args[i]->kind == Expr::Kind::Number) values.push_back(u->args[i]->text);
                if (!values.empty() && values.size() + 1 == u->args.size())
                    fixed.emplace_back(other->second.name, std::move(values));
                continue;
            }
            if (u->kind != Expr::Kind::Compare || u->op != "=") continue;
            for (int side : {0, 1}) {
                const auto other = tableColumn(*u->args[side]);
                const Expr& value = *u->args[1 - side];
                if (!other || other->first != src) continue;
                if (other->second.type == Type::Number && value.kind == Expr::Kind::Number)
                    fixed.push_back({other->second.name, {value.text}});
                else if (other->second.type == Type::Text && value.kind == Expr::Kind::String && isCaseless(value.text))
                    fixed.push_back({other->second.name, {sqlText(value.text)}});
            }
        }
        auto fixedValues = [&](const std::string& name) -> const std::vector<std::string>* {
            for (const auto& [f, v] : fixed)
                if (equalsNoCase(f, name)) return &v;
            return nullptr;
        };
        const auto& name = term->column.name;
        const TableInfo table{src->schema, src->name, {}};
        const std::vector<std::string>* best = nullptr;
        std::size_t bestLead = 0;
        const auto indexes = schema_.indexes(table);
        for (const auto& index : indexes) {
            std::size_t lead = 0;
            while (lead < index.size() && !equalsNoCase(index[lead], name) && fixedValues(index[lead])) ++lead;
            if (lead < index.size() && equalsNoCase(index[lead], name) && (!best || lead > bestLead)) {
                best = &index;
                bestLead = lead;
            }
        }
        if (!best) return std::nullopt;
        // One walk for each combination of the leading fields' values: a few, or one per
        // hotel of a chain (each walk is one seek of the index, and the query written is
        // kept for the file's state).
        std::vector<std::vector<std::pair<std::string, std::string>>> walks{{}};
        for (std::size_t i = 0; i < bestLead; ++i) {
            std::vector<std::vector<std::pair<std::string, std::string>>> next;
            for (const auto& w : walks)
                for (const auto& v : *fixedValues((*best)[i])) {
                    next.push_back(w);
                    next.back().emplace_back((*best)[i], v);
                }
            walks = std::move(next);
            if (walks.size() > kMaxSeekWalks) return std::nullopt;
        }
        std::vector<std::string> all;
        for (const auto& lead : walks) {
            const auto found = schema_.spellings(table, name, lead, term->text->text);
            if (!found) return std::nullopt;
            all.insert(all.end(), found->begin(), found->end());
        }
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        return all;
    }

    // ORDER BY may name a select-list alias.
    Sql orderTerm(const Expr& e) {
        if (e.kind == Expr::Kind::Column && e.qualifier.empty()) {
            for (const auto& [name, sql] : frames_.back().outputs)
                if (equalsNoCase(name, e.text) && !findColumn(e, /*mustExist=*/false)) return sql;
        }
        return expr(e);
    }

    std::optional<Sql> findColumn(const Expr& e, bool mustExist) {
        for (auto f = frames_.rbegin(); f != frames_.rend(); ++f) {
            std::optional<Sql> found;
            for (const auto& src : f->sources) {
                if (!e.qualifier.empty() && !equalsNoCase(e.qualifier, src.alias) && !equalsNoCase(e.qualifier, src.name))
                    continue;
                for (const auto& c : src.columns) {
                    if (!equalsNoCase(c.name, e.text)) continue;
                    if (found) throw ResolveError("the field name \"" + e.text + "\" is ambiguous");
                    found = Sql{(src.sqlAlias.empty() ? "" : src.sqlAlias + ".") + quoteIdent(c.name), c.type};
                }
            }
            if (found) return found;
        }
        if (!mustExist) return std::nullopt;
        std::string where;
        for (const auto& src : frames_.back().sources) where += (where.empty() ? "" : ", ") + src.name;
        const std::string shown = e.qualifier.empty() ? e.text : e.qualifier + "." + e.text;
        throw ResolveError("field \"" + shown + "\" not found" + (where.empty() ? "" : " in " + where));
    }

    // Applies Jet's rule that a text compared with a number compares as numbers.
    void coerce(Sql& a, Sql& b) const {
        auto num = [this](Sql& s) { s = {toNumber(s.text), Type::Number}; };
        auto txt = [](Sql& s) { s = {"CAST(" + s.text + " AS TEXT)", Type::Text}; };
        if (a.type == Type::Text && b.type == Type::Number) num(a);
        else if (a.type == Type::Number && b.type == Type::Text) num(b);
        else if (a.type == Type::Unknown && b.type == Type::Number) num(a);
        else if (a.type == Type::Number && b.type == Type::Unknown) num(b);
        else if (a.type == Type::Unknown && b.type == Type::Text) txt(a);
        else if (a.type == Type::Text && b.type == Type::Unknown) txt(b);
    }

    // "Left$(F,n) = 'lit'" or "Mid$(F,1,n) = lit" over a text field: a range over F.
    std::optional<std::string> prefixRange(const Expr& call, const Expr& lit) {
        if (call.kind != Expr::Kind::Call) return std::nullopt;
        const auto fn = upperAscii(call.text);
        const Expr* column = nullptr;
        const Expr* length = nullptr;
        if ((fn == "LEFT" || fn == "LEFT$") && call.args.size() == 2) {
            column = call.args[0].get();
            length = call.args[1].get();
        } else if ((fn == "MID" || fn == "MID$") && call.args.size() == 3 && call.args[1]->kind == Expr::Kind::Number &&
                   call.args[1]->text == "1") {
            column = call.args[0].get();
            length = call.args[2].get();
        } else {
            return std::nullopt;
        }
        if (column->kind != Expr::Kind::Column || length->kind != Expr::Kind::Number) return std::nullopt;
        const auto& n = length->text;
        if (n.empty() || !std::all_of(n.begin(), n.end(), ::isdigit) || n.size() > 3) return std::nullopt;
        const std::size_t want = std::stoul(n);
        std::string prefix;
        if (lit.kind == Expr::Kind::String) {
            prefix = lit.text;
        } else if (lit.kind == Expr::Kind::Number) {
            // A whole number of exactly n digits is equal, as a number, only to the text
            // of those digits among texts of n characters.
            const auto& d = lit.text;
            if (!std::all_of(d.begin(), d.end(), ::isdigit) || (d.size() > 1 && d[0] == '0')) return std::nullopt;
            prefix = d;
        } else {
            return std::nullopt;
        }
        if (want == 0 || charCount(prefix) != want || !isCaseless(prefix)) return std::nullopt;
        const auto last = static_cast<unsigned char>(prefix.back());
        if (last < 0x20 || last >= 0x7E) return std::nullopt;
        const auto col = findColumn(*column, true);
        if (col->type != Type::Text) return std::nullopt;
        std::string upperBound = prefix;
        upperBound.back() = static_cast<char>(last + 1);
        return "(" + col->text + " >= " + textValue(prefix) + " AND " + col->text + " < " + textValue(upperBound) + ")";
    }

    // Val(Left$(x, n)) with n a whole number written out: one call that reads the first
    // n characters of x itself (zt_val with two arguments), where substr would first copy
    // them into a new text. The "Produzione" recompute reads the voice from the note of
    // every receipt of the month this way.
    std::optional<Sql> valOfLeft(const Expr& e, const std::string& fn) {
        if ((fn != "VAL" && fn != "VAL$") || e.args.size() != 1) return std::nullopt;
        const Expr& left = *e.args[0];
        const auto inner = upperAscii(left.text);
        if (left.kind != Expr::Kind::Call || left.star || left.args.size() != 2 || (inner != "LEFT" && inner != "LEFT$"))
            return std::nullopt;
        const Expr& n = *left.args[1];
        if (n.kind != Expr::Kind::Number || n.text.empty() || n.text.size() > 9 ||
            !std::all_of(n.text.begin(), n.text.end(), ::isdigit))
            return std::nullopt;
        if (pg()) {
            const std::string x = expr(*left.args[0]).text;
            return Sql{pgVal("substr(" + pgText(x) + ", 1, " + pgInt(numberValue(n.text)) + ")"), Type::Number};
        }
        return Sql{std::string(sqlite_fn::kVal) + "(" + expr(*left.args[0]).text + ", " + n.text + ")", Type::Number};
    }

    Sql call(const Expr& e) {
        const auto fn = upperAscii(e.text);
        auto argc = [&](std::size_t lo, std::size_t hi) {
            if (e.args.size() < lo || e.args.size() > hi)
                throw ResolveError("wrong number of arguments to " + e.text);
        };
        std::vector<Sql> a;
        if (e.star) {
            if (fn != "COUNT") throw ResolveError("\"*\" is only allowed in Count(*)");
            return {"count(*)", Type::Number};
        }
        if (auto v = valOfLeft(e, fn)) return *v;
        for (const auto& arg : e.args) a.push_back(expr(*arg));
        auto list = [&]() {
            std::string s;
            for (std::size_t i = 0; i < a.size(); ++i) s += (i ? ", " : "") + a[i].text;
            return s;
        };
        if (pg())
            if (auto v = pgCall(fn, a, argc)) return *v;
        if (fn == "LEFT" || fn == "LEFT$") {
            argc(2, 2);
            return {"substr(" + a[0].text + ", 1, " + a[1].text + ")", Type::Text};
        }
        if (fn == "RIGHT" || fn == "RIGHT$") {
            argc(2, 2);
            return {std::string(sqlite_fn::kRight) + "(" + list() + ")", Type::Text};
        }
        if (fn == "MID" || fn == "MID$") {
            argc(2, 3);
            return {"substr(" + list() + ")", Type::Text};
        }
        if (fn == "INSTR") {
            argc(2, 3);
            if (a.size() == 2) return {"instr(" + searched(a[0], a[1]) + ", " + searched(a[1], a[1]) + ")", Type::Number};
            return {std::string(sqlite_fn::kInstr) + "(" + a[0].text + ", " + searched(a[1], a[2]) + ", " + searched(a[2], a[2]) + ")",
                    Type::Number};
        }
        // Functions of one argument that map onto one SQLite expression.
        struct OneArg {
            std::string_view name;  // without "$"
            std::string before;
            std::string_view after;
            Type type;
        };
        static const OneArg kOneArg[] = {
            {"VAL", std::string(sqlite_fn::kVal) + "(", ")", Type::Number},     {"LEN", "length(", ")", Type::Number},
            {"TRIM", "trim(", ", ' ')", Type::Text},   {"LTRIM", "ltrim(", ", ' ')", Type::Text},
            {"RTRIM", "rtrim(", ", ' ')", Type::Text}, {"UCASE", "upper(", ")", Type::Text},
            {"LCASE", "lower(", ")", Type::Text},      {"CSTR", "CAST(", " AS TEXT)", Type::Text},
            {"CDBL", "CAST(" + std::string(sqlite_fn::kNum) + "(", ") AS REAL)", Type::Number},
            {"ABS", "abs(", ")", Type::Number},
        };
        const std::string_view bare = fn.ends_with('$') ? std::string_view(fn).substr(0, fn.size() - 1) : fn;
        for (const auto& f : kOneArg) {
            if (f.name != bare) continue;
            argc(1, 1);
            return {f.before + a[0].text + std::string(f.after), f.type};
        }
        if (fn == "NZ") {
            argc(2, 2);
            return {(pg() ? "coalesce(" : "ifnull(") + list() + ")", a[0].type};
        }
        if (fn == "IIF") {
            argc(3, 3);
            return {"(CASE WHEN " + a[0].text + " THEN " + a[1].text + " ELSE " + a[2].text + " END)",
                    a[1].type == a[2].type ? a[1].type : Type::Unknown};
        }
        if (fn == "SUM" || fn == "AVG" || fn == "COUNT") {
            argc(1, 1);
            return {upperAscii(fn) + "(" + a[0].text + ")", Type::Number};
        }
        if (fn == "MIN" || fn == "MAX") {
            argc(1, 1);
            return {fn + "(" + grouped(a[0]) + ")", a[0].type};
        }
        throw ResolveError("unknown function \"" + e.text + "\"");
    }

    // The functions PostgreSQL spells otherwise than SQLite; nullopt for the others.
    template <class Argc>
    std::optional<Sql> pgCall(const std::string& fn, const std::vector<Sql>& a, const Argc& argc) const {
        const std::string bare = fn.ends_with('$') ? fn.substr(0, fn.size() - 1) : fn;
        if (bare == "LEFT") {
            argc(2, 2);
            return Sql{"substr(" + pgText(a[0].text) + ", 1, " + pgInt(a[1].text) + ")", Type::Text};
        }
        if (bare == "RIGHT") {
            argc(2, 2);
            return Sql{"right(" + pgText(a[0].text) + ", " + pgInt(a[1].text) + ")", Type::Text};
        }
        if (bare == "MID") {
            argc(2, 3);
            return Sql{"substr(" + pgText(a[0].text) + ", " + pgInt(a[1].text) +
                           (a.size() == 3 ? ", " + pgInt(a[2].text) : std::string()) + ")",
                       Type::Text};
        }
        if (bare == "INSTR") {
            argc(2, 3);
            // Folded unless the sought text has no case (folding keeps every position).
            const Sql& sought = a.back();
            const bool plain = sought.literal && isCaseless(*sought.literal);
            auto side = [&](const Sql& v) { return plain ? pgText(v.text) : pgFold(v); };
            if (a.size() == 2) return Sql{"strpos(" + side(a[0]) + ", " + side(a[1]) + ")", Type::Number};
            // From a start: the position in the rest, counted from the text's beginning.
            const std::string start = "greatest(" + pgInt(a[0].text) + ", 1)";
            const std::string found = "strpos(substr(" + side(a[1]) + ", " + start + "), " + side(a[2]) + ")";
            return Sql{"(CASE WHEN " + found + " > 0 THEN " + found + " + " + start + " - 1 ELSE " + found + " END)",
                       Type::Number};
        }
        auto one = [&](const std::string& text, Type type) {
            argc(1, 1);
            return Sql{text, type};
        };
        if (bare == "VAL") return one(pgVal(a.empty() ? "" : a[0].text), Type::Number);
        if (a.size() != 1) return std::nullopt;
        const std::string t = pgText(a[0].text);
        if (bare == "LEN") return one("length(" + t + ")", Type::Number);
        if (bare == "TRIM") return one("btrim(" + t + ", ' ')", Type::Text);
        if (bare == "LTRIM") return one("ltrim(" + t + ", ' ')", Type::Text);
        if (bare == "RTRIM") return one("rtrim(" + t + ", ' ')", Type::Text);
        // The letters A to Z only, as on SQLite.
        if (bare == "UCASE") return one("upper(" + t + " COLLATE \"C\")", Type::Text);
        if (bare == "LCASE") return one("lower(" + t + " COLLATE \"C\")", Type::Text);
        if (bare == "CSTR") return one(t, Type::Text);
        if (bare == "CDBL") return one("CAST(" + pgNumber(a[0].text) + " AS double precision)", Type::Number);
        return std::nullopt;
    }

    // Operators whose left-nested chains are written as one flat list: SQLite reads
    // "a OR b OR c" as "(a OR b) OR c", the same tree, while every bracket of the nested
    // form takes room on SQLite's parser stack (about 90 nested brackets at most). "+"
    // and "-" chain together, as they share a precedence in both dialects.
    static int family(const std::string& op) {
        if (op == "+" || op == "-") return 1;
        if (op == "*") return 2;
        if (op == "&") return 3;
        if (op == "AND") return 4;
        if (op == "OR") return 5;
        return 0;
    }
    static bool chains(const Expr& e) {
        const int f = family(e.op);
        const Expr& left = *e.args[0];
        return f != 0 && left.kind == Expr::Kind::Binary && family(left.op) == f;
    }

    // A chain "a op b op c …" nested to the left, written flat. A "+" joins texts with
    // "||" and numbers with "+"; where the chain turns from one to the other, the part
    // before is bracketed, as the nested form would be.
    Sql chain(const Expr& e) {
        std::vector<const Expr*> chained;  // the chain's operators, last first
        const Expr* n = &e;
        for (; n->kind == Expr::Kind::Binary && family(n->op) == family(e.op); n = n->args[0].get()) chained.push_back(n);
        std::reverse(chained.begin(), chained.end());

        Sql acc = expr(*n);
        if (e.op == "&") acc = {joinable(acc.text), Type::Text};
        bool joined = false, lastText = false;
        for (const Expr* link : chained) {
            Sql r = expr(*link->args[1]);
            std::string sep = " " + link->op + " ";
            Type type = Type::Number;
            if (link->op == "&") {
                sep = " || ";
                r.text = joinable(r.text);
                type = Type::Text;
            } else if (link->op == "+" && acc.type == Type::Text && r.type == Type::Text) {
                sep = " || ";
                type = Type::Text;
            }
            const bool text = sep == " || ";
            if (joined && text != lastText) acc.text = "(" + acc.text + ")";
            acc.text += sep + r.text;
            acc.type = type;
            joined = true;
            lastText = text;
        }
        acc.text = "(" + acc.text + ")";
        return acc;
    }

    Sql expr(const Expr& e) {
        switch (e.kind) {
            case Expr::Kind::Column: return *findColumn(e, true);
            case Expr::Kind::Number: return {numberValue(e.text), Type::Number};
            case Expr::Kind::String: return {textValue(e.text), Type::Text, e.text};
            case Expr::Kind::Null: return {"NULL", Type::Unknown};
            case Expr::Kind::Unary: {
                Sql v = expr(*e.args[0]);
                if (e.op == "NOT") return {"(NOT " + v.text + ")", Type::Number};
                return {"(" + e.op + v.text + ")", Type::Number};
            }
            case Expr::Kind::Binary: {
                if (chains(e)) return chain(e);
                Sql l = expr(*e.args[0]);
                Sql r = expr(*e.args[1]);
                if (e.op == "AND" || e.op == "OR") return {"(" + l.text + " " + e.op + " " + r.text + ")", Type::Number};
                if (e.op == "&") return {"(" + joinable(l.text) + " || " + joinable(r.text) + ")", Type::Text};
                if (e.op == "+" && l.type == Type::Text && r.type == Type::Text)
                    return {"(" + l.text + " || " + r.text + ")", Type::Text};
                if (e.op == "\\" && pg())
                    return {"div(CAST(" + l.text + " AS numeric), CAST(" + r.text + " AS numeric))", Type::Number};
                if (e.op == "\\")
                    return {"(CAST(" + l.text + " AS INTEGER) / CAST(" + r.text + " AS INTEGER))", Type::Number};
                if (e.op == "MOD") return {"(" + l.text + " % " + r.text + ")", Type::Number};
                if (e.op == "/") return {"(CAST(" + l.text + (pg() ? " AS double precision) / " : " AS REAL) / ") + r.text + ")", Type::Number};
                return {"(" + l.text + " " + e.op + " " + r.text + ")", Type::Number};
            }
            case Expr::Kind::Compare: {
                if (e.op == "=") {
                    if (auto r = prefixRange(*e.args[0], *e.args[1])) return {*r, Type::Number};
                    if (auto r = prefixRange(*e.args[1], *e.args[0])) return {*r, Type::Number};
                }
                Sql l = expr(*e.args[0]);
                Sql r = expr(*e.args[1]);
                coerce(l, r);
                return {pg() ? pgCompare(l, e.op, r) : compareSql(l, e.op, r), Type::Number};
            }
            case Expr::Kind::InList: {
                Sql x = expr(*e.args[0]);
                std::vector<Sql> items;
                for (std::size_t i = 1; i < e.args.size(); ++i) items.push_back(expr(*e.args[i]));
                bool anyNumber = false;
                for (auto& it : items) anyNumber |= it.type == Type::Number;
                if (anyNumber && x.type != Type::Number) x = {toNumber(x.text), Type::Number};
                for (auto& it : items)
                    if (x.type == Type::Number && it.type != Type::Number) it = {toNumber(it.text), Type::Number};
                return {pg() ? pgInList(x, e.negated, items) : inListSql(x, e.negated, items), Type::Number};
            }
            case Expr::Kind::InSelect: {
                Sql x = expr(*e.args[0]);
                std::vector<ColumnInfo> cols;
                // A first pass learns the sub-query's column type; a number on one side
                // makes the comparison numeric.
                const std::size_t boundBefore = params_.size();
                std::string sub = select(*e.select, false, false, &cols);
                if (cols.size() != 1) throw ResolveError("a sub-query after IN must select one field");
                if (x.type == Type::Number && cols[0].type != Type::Number) {
                    params_.resize(boundBefore);  // the first pass's values are written again
                    sub = select(*e.select, false, true, nullptr);
                }
                else if (x.type != Type::Number && cols[0].type == Type::Number) x = {toNumber(x.text), Type::Number};
                return {pg() ? pgInSelect(x, e.negated, sub, cols[0].type) : inSelectSql(x, e.negated, sub, cols[0].type),
                        Type::Number};
            }
            case Expr::Kind::Between: {
                Sql x = expr(*e.args[0]);
                Sql lo = expr(*e.args[1]);
                Sql hi = expr(*e.args[2]);
                Sql x2 = x;
                coerce(x, lo);
                coerce(x2, hi);
                if (x.text != x2.text) x = x2;  // both bounds see the same conversion of x
                return {pg() ? pgBetween(x, e.negated, lo, hi) : betweenSql(x, e.negated, lo, hi), Type::Number};
            }
            case Expr::Kind::Like: {
                if (e.args[1]->kind != Expr::Kind::String) throw ResolveError("Like needs a pattern in quotes");
                if (pg()) return {pgLike(expr(*e.args[0]), e.negated, e.args[1]->text), Type::Number};
                return {likeSql(expr(*e.args[0]), e.negated, e.args[1]->text), Type::Number};
            }
            case Expr::Kind::IsNull: {
                Sql x = expr(*e.args[0]);
                return {"(" + x.text + (e.negated ? " IS NOT NULL)" : " IS NULL)"), Type::Number};
            }
            case Expr::Kind::Call: return call(e);
            case Expr::Kind::Subquery: {
                std::vector<ColumnInfo> cols;
                std::string sub = select(*e.select, false, false, &cols);
                if (cols.size() != 1) throw ResolveError("a sub-query used as a value must select one field");
                return {"(" + sub + ")", cols[0].type};
            }
        }
        throw ResolveError("unsupported expression");
    }
};

}  // namespace

EmittedQuery emitQuery(const Select& select, SchemaSource& schema, Dialect dialect) {
    return Emitter(schema, dialect).topQuery(select);
}

std::string emitTableCondition(const Expr& condition, const TableInfo& table, const std::string& alias,
                               SchemaSource& schema) {
    Frame frame;
    frame.sources.push_back(Source{table.name, table.name, alias, table.columns, table.schema});
    return Emitter(schema).condition(condition, std::move(frame));
}

std::string emitColumnsCondition(const Expr& condition, const std::vector<ColumnInfo>& columns,
                                 SchemaSource& schema) {
    Frame frame;
    frame.sources.push_back(Source{"the query", "", "", columns, ""});
    return Emitter(schema).condition(condition, std::move(frame));
}

}  // namespace zt::store::jet
