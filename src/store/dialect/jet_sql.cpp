#include "store/dialect/jet_sql.h"

#include <array>
#include <cctype>
#include <charconv>
#include <system_error>

#include "common/text.h"

namespace zt::store::jet {

namespace {

bool isIdentStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool isIdentChar(unsigned char c) { return std::isalnum(c) || c == '_' || c == '$' || c >= 0x80; }

// Character position (1-based) of a byte offset, for messages.
std::size_t charPosition(std::string_view text, std::size_t offset) {
    std::size_t pos = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++pos;
    return pos;
}

[[noreturn]] void fail(std::string_view text, std::size_t offset, const std::string& what) {
    throw SyntaxError(what + " at position " + std::to_string(charPosition(text, offset)),
                      charPosition(text, offset));
}

constexpr std::array kKeywords = {"SELECT", "DISTINCT", "ALL", "TOP", "FROM", "WHERE", "GROUP",
                                  "BY", "HAVING", "ORDER", "ASC", "DESC", "AND", "OR", "NOT",
                                  "IN", "IS", "NULL", "LIKE", "BETWEEN", "AS", "MOD", "JOIN",
                                  "ON", "UNION", "INTO", "INSERT", "UPDATE", "DELETE", "INNER", "OUTER",
                                  "FULL", "CROSS"};

}  // namespace

namespace {

bool isDigit(std::string_view text, std::size_t i) {
    return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
}

// The end of the UTF-8 character that begins at byte i.
std::size_t characterEnd(std::string_view text, std::size_t i) {
    std::size_t end = i + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    return end;
}

// A name: letters, digits, "_" and "$" (Left$), or any text in brackets.
void scanName(std::string_view text, std::size_t i, Token& t) {
    t.kind = Tok::Ident;
    if (text[i] != '[') {
        std::size_t j = i;
        while (j < text.size() && isIdentChar(static_cast<unsigned char>(text[j]))) ++j;
        t.text = text.substr(i, j - i);
        t.value = std::string(t.text);
        return;
    }
    const auto close = text.find(']', i + 1);
    if (close == std::string_view::npos) fail(text, i, "unclosed \"[\"");
    t.bracketed = true;
    t.text = text.substr(i, close + 1 - i);
    t.value = std::string(text.substr(i + 1, close - i - 1));
    if (t.value.empty()) fail(text, i, "empty name \"[]\"");
}

// A text in single or double quotes; the quote doubled stands for itself.
void scanQuoted(std::string_view text, std::size_t i, Token& t) {
    const char q = text[i];
    std::size_t j = i + 1;
    std::string value;
    bool closed = false;
    while (j < text.size()) {
        if (text[j] == q) {
            if (j + 1 < text.size() && text[j + 1] == q) {
                value += q;
                j += 2;
                continue;
            }
            closed = true;
            ++j;
            break;
        }
        value += text[j++];
    }
    if (!closed) fail(text, i, "unclosed text starting with " + std::string(1, q));
    t.kind = Tok::String;
    t.text = text.substr(i, j - i);
    t.value = std::move(value);
}

// A number: digits, a decimal part, an exponent. A letter right after it is an error.
void scanNumber(std::string_view text, std::size_t i, Token& t) {
    const std::size_t n = text.size();
    std::size_t j = i;
    while (isDigit(text, j)) ++j;
    if (j < n && text[j] == '.') {
        ++j;
        while (isDigit(text, j)) ++j;
    }
    if (j < n && (text[j] == 'e' || text[j] == 'E')) {
        std::size_t k = j + 1;
        if (k < n && (text[k] == '+' || text[k] == '-')) ++k;
        if (isDigit(text, k)) {
            while (isDigit(text, k)) ++k;
            j = k;
        }
    }
    if (j < n && isIdentStart(static_cast<unsigned char>(text[j])))
        fail(text, i, "malformed number \"" + std::string(text.substr(i, characterEnd(text, j) - i)) + "\"");
    t.kind = Tok::Number;
    t.text = text.substr(i, j - i);
    t.value = std::string(t.text);
}

// An operator or punctuation: "<>", "<=", ">=", "!=" (read as "<>"), or one character.
void scanOperator(std::string_view text, std::size_t i, Token& t) {
    static constexpr std::array<std::string_view, 4> two = {"<>", "<=", ">=", "!="};
    std::size_t len = 0;
    for (auto op : two)
        if (text.substr(i, 2) == op) len = 2;
    if (len == 0) {
        if (std::string_view("=<>(),.*+-/\\&;").find(text[i]) == std::string_view::npos)
            fail(text, i, "unexpected character \"" + std::string(text.substr(i, characterEnd(text, i) - i)) + "\"");
        len = 1;
    }
    t.kind = Tok::Op;
    t.text = text.substr(i, len);
    t.value = t.text == "!=" ? std::string("<>") : std::string(t.text);
}

// The token that begins at or after byte i (after blanks); Tok::End at the end.
Token nextToken(std::string_view text, std::size_t i) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
    Token t;
    t.offset = i;
    if (i >= text.size()) {
        t.kind = Tok::End;
        return t;
    }
    const auto c = static_cast<unsigned char>(text[i]);
    if (isIdentStart(c) || c == '[') scanName(text, i, t);
    else if (c == '\'' || c == '"') scanQuoted(text, i, t);
    else if (std::isdigit(c) || (c == '.' && isDigit(text, i + 1))) scanNumber(text, i, t);
    else scanOperator(text, i, t);
    return t;
}

}  // namespace

std::vector<Token> tokenize(std::string_view text) {
    std::vector<Token> out;
    for (std::size_t i = 0;;) {
        Token t = nextToken(text, i);
        i = t.offset + t.text.size();
        const bool end = t.kind == Tok::End;
        out.push_back(std::move(t));
        if (end) return out;
    }
}

namespace {

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text), toks_(tokenize(text)) {}

    std::unique_ptr<Select> query() {
        auto s = select();
        if (isOp(";")) ++pos_;
        expectEnd();
        return s;
    }

    ExprPtr condition() {
        auto e = expr();
        expectEnd();
        return e;
    }

private:
    std::string_view text_;
    std::vector<Token> toks_;
    std::size_t pos_ = 0;
    int depth_ = 0;

    struct DepthGuard {
        Parser& p;
        explicit DepthGuard(Parser& parser) : p(parser) {
            if (++p.depth_ > kMaxDepth) p.error("too deeply nested");
        }
        ~DepthGuard() { --p.depth_; }
    };

    // A chain of one operator ("a + b + c ...") is parsed in a loop but nests as deeply
    // as brackets would: each operator of it counts as one level while the chain lasts.
    struct ChainGuard {
        Parser& p;
        int levels = 0;
        explicit ChainGuard(Parser& parser) : p(parser) {}
        void next() {
            ++levels;
            if (++p.depth_ > kMaxDepth) p.error("too deeply nested");
        }
        ~ChainGuard() { p.depth_ -= levels; }
    };

    const Token& cur() const { return toks_[pos_]; }
    const Token& peek(std::size_t k = 1) const { return toks_[std::min(pos_ + k, toks_.size() - 1)]; }

    [[noreturn]] void error(const std::string& what) const {
        const Token& t = cur();
        if (t.kind == Tok::End) fail(text_, t.offset, "syntax error at the end of the text: " + what);
        fail(text_, t.offset, "syntax error near \"" + std::string(t.text) + "\": " + what);
    }

    bool isKeyword(const Token& t, std::string_view kw) const {
        return t.kind == Tok::Ident && !t.bracketed && upperAscii(t.value) == kw;
    }
    bool isKw(std::string_view kw) const { return isKeyword(cur(), kw); }
    bool acceptKw(std::string_view kw) {
        if (!isKw(kw)) return false;
        ++pos_;
        return true;
    }
    void expectKw(std::string_view kw) {
        if (!acceptKw(kw)) error("expected " + std::string(kw));
    }
    bool isOp(std::string_view op) const { return cur().kind == Tok::Op && cur().value == op; }
    bool acceptOp(std::string_view op) {
        if (!isOp(op)) return false;
        ++pos_;
        return true;
    }
    void expectOp(std::string_view op) {
        if (!acceptOp(op)) error("expected \"" + std::string(op) + "\"");
    }
    void expectEnd() {
        if (cur().kind != Tok::End) error("unexpected text");
    }

    bool isReserved(const Token& t) const {
        if (t.kind != Tok::Ident || t.bracketed) return false;
        const auto u = upperAscii(t.value);
        for (auto kw : kKeywords)
            if (u == kw) return true;
        return false;
    }

    std::string name(const char* what) {
        const Token& t = cur();
        if (t.kind != Tok::Ident || isReserved(t)) error(std::string("expected ") + what);
        ++pos_;
        return t.value;
    }

    std::unique_ptr<Select> select() {
        DepthGuard guard(*this);
        auto s = std::make_unique<Select>();
        expectKw("SELECT");
        if (acceptKw("DISTINCT")) s->distinct = true;
        else acceptKw("ALL");
        if (acceptKw("TOP")) {
            // A whole number of rows; "1.5", "1e3" or one beyond a long is named, not cut.
            const std::string& n = cur().value;
            if (cur().kind != Tok::Number || n.find_first_not_of("0123456789") != std::string::npos)
                error("expected a whole number after TOP");
            long rows = 0;
            const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), rows);
            if (ec != std::errc() || end != n.data() + n.size()) error("the number after TOP is too large");
            s->top = rows;
            ++pos_;
        }
        do {
            s->items.push_back(selectItem());
        } while (acceptOp(","));
        expectKw("FROM");
        do {
            s->from.push_back(tableRef());
        } while (acceptOp(","));
        if (acceptKw("WHERE")) s->where = expr();
        if (acceptKw("GROUP")) {
            expectKw("BY");
            do {
                s->groupBy.push_back(expr());
            } while (acceptOp(","));
        }
        if (acceptKw("HAVING")) s->having = expr();
        if (acceptKw("ORDER")) {
            expectKw("BY");
            do {
                OrderItem o;
                o.expr = expr();
                if (acceptKw("DESC")) o.descending = true;
                else acceptKw("ASC");
                s->orderBy.push_back(std::move(o));
            } while (acceptOp(","));
        }
        return s;
    }

    SelectItem selectItem() {
        SelectItem item;
        if (acceptOp("*")) {
            item.star = true;
            return item;
        }
        if (cur().kind == Tok::Ident && !isReserved(cur()) && peek().kind == Tok::Op && peek().value == "." &&
            peek(2).kind == Tok::Op && peek(2).value == "*") {
            item.star = true;
            item.starQualifier = cur().value;
            pos_ += 3;
            return item;
        }
        item.expr = expr();
        if (acceptKw("AS")) item.alias = name("a name after AS");
        else if (cur().kind == Tok::Ident && !isReserved(cur())) item.alias = name("a name");
        return item;
    }

    TableRef tableRef() {
        TableRef t;
        t.offset = cur().offset;
        t.name = name("a table name");
        if (acceptKw("IN")) {
            if (cur().kind != Tok::String) error("expected a file name in quotes after IN");
            t.inFile = cur().value;
            ++pos_;
        }
        if (acceptKw("AS")) t.alias = name("a name after AS");
        else if (cur().kind == Tok::Ident && !isReserved(cur())) t.alias = name("a name");
        return t;
    }

    ExprPtr make(Expr::Kind kind, std::size_t offset) {
        auto e = std::make_unique<Expr>();
        e->kind = kind;
        e->offset = offset;
        return e;
    }

    ExprPtr expr() {
        DepthGuard guard(*this);
        return orExpr();
    }

    ExprPtr orExpr() {
        auto left = andExpr();
        ChainGuard chain(*this);
        while (isKw("OR")) {
            chain.next();
            auto e = make(Expr::Kind::Binary, cur().offset);
            ++pos_;
            e->op = "OR";
            e->args.push_back(std::move(left));
            e->args.push_back(andExpr());
            left = std::move(e);
        }
        return left;
    }

    ExprPtr andExpr() {
        auto left = notExpr();
        ChainGuard chain(*this);
        while (isKw("AND")) {
            chain.next();
            auto e = make(Expr::Kind::Binary, cur().offset);
            ++pos_;
            e->op = "AND";
            e->args.push_back(std::move(left));
            e->args.push_back(notExpr());
            left = std::move(e);
        }
        return left;
    }

    ExprPtr notExpr() {
        DepthGuard guard(*this);
        if (isKw("NOT")) {
            auto e = make(Expr::Kind::Unary, cur().offset);
            ++pos_;
            e->op = "NOT";
            e->args.push_back(notExpr());
            return e;
        }
        return comparison();
    }

    ExprPtr comparison() {
        auto left = additive();
        const std::size_t at = cur().offset;
        if (cur().kind == Tok::Op) {
            static constexpr std::array<std::string_view, 6> ops = {"=", "<>", "<", ">", "<=", ">="};
            for (auto op : ops) {
                if (cur().value == op) {
                    ++pos_;
                    auto e = make(Expr::Kind::Compare, at);
                    e->op = std::string(op);
                    e->args.push_back(std::move(left));
                    e->args.push_back(additive());
                    return e;
                }
            }
            return left;
        }
        bool negated = false;
        if (isKw("NOT") && (isKeyword(peek(), "IN") || isKeyword(peek(), "BETWEEN") || isKeyword(peek(), "LIKE"))) {
            negated = true;
            ++pos_;
        }
        if (acceptKw("IN")) return inTail(std::move(left), negated, at);
        if (acceptKw("BETWEEN")) {
            auto e = make(Expr::Kind::Between, at);
            e->negated = negated;
            e->args.push_back(std::move(left));
            e->args.push_back(additive());
            expectKw("AND");
            e->args.push_back(additive());
            return e;
        }
        if (acceptKw("LIKE")) {
            auto e = make(Expr::Kind::Like, at);
            e->negated = negated;
            e->args.push_back(std::move(left));
            e->args.push_back(additive());
            return e;
        }
        if (acceptKw("IS")) {
            auto e = make(Expr::Kind::IsNull, at);
            e->negated = acceptKw("NOT");
            expectKw("NULL");
            e->args.push_back(std::move(left));
            return e;
        }
        return left;
    }

    ExprPtr inTail(ExprPtr left, bool negated, std::size_t at) {
        expectOp("(");
        if (isKw("SELECT")) {
            auto e = make(Expr::Kind::InSelect, at);
            e->negated = negated;
            e->args.push_back(std::move(left));
            e->select = select();
            expectOp(")");
            return e;
        }
        auto e = make(Expr::Kind::InList, at);
        e->negated = negated;
        e->args.push_back(std::move(left));
        do {
            e->args.push_back(expr());
        } while (acceptOp(","));
        expectOp(")");
        // "x In ((Select ...))": a list made of one sub-query is that sub-query's rows.
        if (e->args.size() == 2 && e->args[1]->kind == Expr::Kind::Subquery) {
            auto s = make(Expr::Kind::InSelect, at);
            s->negated = negated;
            s->args.push_back(std::move(e->args[0]));
            s->select = std::move(e->args[1]->select);
            return s;
        }
        return e;
    }

    ExprPtr additive() {
        auto left = multiplicative();
        ChainGuard chain(*this);
        while (cur().kind == Tok::Op && (cur().value == "+" || cur().value == "-" || cur().value == "&")) {
            chain.next();
            auto e = make(Expr::Kind::Binary, cur().offset);
            e->op = cur().value;
            ++pos_;
            e->args.push_back(std::move(left));
            e->args.push_back(multiplicative());
            left = std::move(e);
        }
        return left;
    }

    ExprPtr multiplicative() {
        auto left = unary();
        ChainGuard chain(*this);
        while ((cur().kind == Tok::Op && (cur().value == "*" || cur().value == "/" || cur().value == "\\")) ||
               isKw("MOD")) {
            chain.next();
            auto e = make(Expr::Kind::Binary, cur().offset);
            e->op = upperAscii(cur().value);
            ++pos_;
            e->args.push_back(std::move(left));
            e->args.push_back(unary());
            left = std::move(e);
        }
        return left;
    }

    ExprPtr unary() {
        DepthGuard guard(*this);
        if (cur().kind == Tok::Op && (cur().value == "-" || cur().value == "+")) {
            auto e = make(Expr::Kind::Unary, cur().offset);
            e->op = cur().value;
            ++pos_;
            e->args.push_back(unary());
            return e;
        }
        return primary();
    }

    ExprPtr primary() {
        const Token& t = cur();
        switch (t.kind) {
            case Tok::Number: {
                auto e = make(Expr::Kind::Number, t.offset);
                e->text = t.value;
                ++pos_;
                return e;
            }
            case Tok::String: {
                auto e = make(Expr::Kind::String, t.offset);
                e->text = t.value;
                ++pos_;
                return e;
            }
            case Tok::Op:
                if (t.value == "(") {
                    ++pos_;
                    if (isKw("SELECT")) {
                        auto e = make(Expr::Kind::Subquery, t.offset);
                        e->select = select();
                        expectOp(")");
                        return e;
                    }
                    auto e = expr();
                    expectOp(")");
                    return e;
                }
                error("expected a value");
            case Tok::End:
                error("expected a value");
            case Tok::Ident:
                break;
        }
        if (isKw("NULL")) {
            ++pos_;
            return make(Expr::Kind::Null, t.offset);
        }
        if (isReserved(t)) error("expected a value");
        const std::size_t at = t.offset;
        std::string first = t.value;
        const bool bracketed = t.bracketed;
        ++pos_;
        if (!bracketed && acceptOp("(")) {
            auto e = make(Expr::Kind::Call, at);
            e->text = first;
            if (acceptOp("*")) {
                e->star = true;
            } else if (!isOp(")")) {
                do {
                    e->args.push_back(expr());
                } while (acceptOp(","));
            }
            expectOp(")");
            return e;
        }
        auto e = make(Expr::Kind::Column, at);
        if (acceptOp(".")) {
            e->qualifier = std::move(first);
            e->text = name("a field name after \".\"");
        } else {
            e->text = std::move(first);
        }
        return e;
    }
};

}  // namespace

std::unique_ptr<Select> parseQuery(std::string_view text) { return Parser(text).query(); }

ExprPtr parseCondition(std::string_view text) { return Parser(text).condition(); }

}  // namespace zt::store::jet
