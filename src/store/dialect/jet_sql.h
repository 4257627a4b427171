#pragma once
// The Jet SQL dialect that the program's query texts and criteria are written in:
// a tokenizer and a recursive-descent parser that turn a text into a tree. The tree is
// turned into SQLite SQL by the emitter (jet_emit.h). Syntax outside the supported
// subset is an error naming the token; nothing is passed through unparsed.
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zt::store::jet {

// A syntax error: names the offending token and its position (1-based character).
class SyntaxError : public std::runtime_error {
public:
    SyntaxError(std::string message, std::size_t position)
        : std::runtime_error(std::move(message)), position_(position) {}
    std::size_t position() const { return position_; }

private:
    std::size_t position_;
};

enum class Tok {
    End,
    Ident,       // a name: letters, digits, "_", "$" (Left$), or [a bracketed name]
    String,      // 'text' or "text"; the value has the doubled quotes undone
    Number,      // 12, 3.5, 1e3
    Op,          // = <> != < > <= >= ( ) , . * + - / \ & ;
};

struct Token {
    Tok kind = Tok::End;
    std::string_view text;   // the token as written (a slice of the input)
    std::string value;       // identifier without brackets, string without quotes
    std::size_t offset = 0;  // byte offset in the input
    bool bracketed = false;  // [name]: never a keyword
};

// Splits a text into tokens; the last token has kind End.
std::vector<Token> tokenize(std::string_view text);

struct Select;

struct Expr {
    enum class Kind {
        Column,      // [qualifier.]name
        Number,      // numeric literal (text in `text`)
        String,      // text literal (value in `text`)
        Null,
        Unary,       // op: "-", "+", "NOT"
        Binary,      // op: + - * / \ MOD & AND OR
        Compare,     // op: = <> < > <= >=
        InList,      // args[0] IN (args[1..]); negated
        InSelect,    // args[0] IN (select); negated
        Between,     // args[0] BETWEEN args[1] AND args[2]; negated
        Like,        // args[0] LIKE args[1]; negated
        IsNull,      // args[0] IS NULL; negated
        Call,        // name(args); star for Count(*)
        Subquery,    // (select) as a value
    };
    Kind kind = Kind::Null;
    std::string op;           // operator, upper-case for words
    std::string text;         // literal text, column name or function name
    std::string qualifier;    // table or alias before the dot, for a column
    bool negated = false;
    bool star = false;        // Count(*)
    std::vector<std::unique_ptr<Expr>> args;
    std::unique_ptr<Select> select;
    std::size_t offset = 0;   // where it starts in the input, for messages
};
using ExprPtr = std::unique_ptr<Expr>;

struct SelectItem {
    ExprPtr expr;             // null for "*" or "t.*"
    std::string alias;
    bool star = false;
    std::string starQualifier;
};

struct TableRef {
    std::string name;
    std::optional<std::string> inFile;  // Table In 'other.mdb'
    std::string alias;
    std::size_t offset = 0;
};

struct OrderItem {
    ExprPtr expr;
    bool descending = false;
};

struct Select {
    bool distinct = false;
    std::optional<long> top;
    std::vector<SelectItem> items;
    std::vector<TableRef> from;
    ExprPtr where;
    std::vector<ExprPtr> groupBy;
    ExprPtr having;
    std::vector<OrderItem> orderBy;
};

// A whole query text: one SELECT, an optional ";" at the end.
std::unique_ptr<Select> parseQuery(std::string_view text);
// A criterion: one condition over field names, as find-first takes it.
ExprPtr parseCondition(std::string_view text);

// The deepest nesting of brackets and operators the parser accepts.
inline constexpr int kMaxDepth = 200;

}  // namespace zt::store::jet
