#include "core/Expression.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <vector>

#include "core/Numbers.h"

namespace qv {
namespace {

struct EvalError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

enum class Tok { Number, Text, Word, Op, Open, Close, Comma, End };

struct Token {
    Tok kind = Tok::End;
    std::string text;  // operator, word or text literal
    double number = 0.0;
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return s;
}

std::vector<Token> tokenize(std::string_view s) {
    std::vector<Token> out;
    size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
        } else if (isDigit(c) || (c == '.' && i + 1 < s.size() && isDigit(s[i + 1]))) {
            const size_t j = i + LeadingNumberLength(s.substr(i));
            // A number running straight into a letter or a second point ("1.2.3", "2x") is no number.
            if (j < s.size() && (isLetter(s[j]) || s[j] == '.')) throw EvalError("malformed number");
            const std::optional<double> v = ParseNumber(s.substr(i, j - i));
            if (!v) throw EvalError("malformed number");
            out.push_back({Tok::Number, {}, *v});
            i = j;
        } else if (isLetter(c)) {
            size_t j = i;
            while (j < s.size() && (isLetter(s[j]) || isDigit(s[j]))) ++j;
            out.push_back({Tok::Word, lower(std::string(s.substr(i, j - i))), 0.0});
            i = j;
        } else if (c == '"') {
            // A text literal; "" inside stands for one quote.
            std::string text;
            size_t j = i + 1;
            for (;;) {
                if (j >= s.size()) throw EvalError("unclosed text");
                if (s[j] == '"') {
                    if (j + 1 < s.size() && s[j + 1] == '"') {
                        text += '"';
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                text += s[j++];
            }
            out.push_back({Tok::Text, std::move(text), 0.0});
            i = j;
        } else if (c == '(') {
            out.push_back({Tok::Open, {}, 0.0});
            ++i;
        } else if (c == ')') {
            out.push_back({Tok::Close, {}, 0.0});
            ++i;
        } else if (c == ',') {
            out.push_back({Tok::Comma, {}, 0.0});
            ++i;
        } else if (c == '<' || c == '>') {
            std::string op(1, c);
            if (i + 1 < s.size() && (s[i + 1] == '=' || (c == '<' && s[i + 1] == '>'))) op += s[i + 1];
            out.push_back({Tok::Op, op, 0.0});
            i += op.size();
        } else if (c == '+' || c == '-' || c == '*' || c == '/' || c == '\\' || c == '^' || c == '&' || c == '=') {
            out.push_back({Tok::Op, std::string(1, c), 0.0});
            ++i;
        } else {
            throw EvalError(std::string("unexpected character '") + c + "'");
        }
    }
    out.push_back({Tok::End, {}, 0.0});
    return out;
}

double finite(double v) {
    if (!std::isfinite(v)) throw EvalError("result is not a finite number");
    return v;
}

double toNumber(const ExpressionValue& v) {
    if (const double* d = std::get_if<double>(&v)) return *d;
    if (const bool* b = std::get_if<bool>(&v)) return *b ? -1.0 : 0.0;
    const std::optional<double> n = ParseNumber(std::get<std::string>(v));
    if (!n) throw EvalError("a text where a number is needed");
    return *n;
}

// Whole 32-bit number for "\" and Mod, halves to even.
int64_t toWhole(const ExpressionValue& v) {
    const double r = RoundHalfEven(toNumber(v));
    if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max())
        throw EvalError("number out of range");
    return static_cast<int64_t>(r);
}

// Round half to even at `digits` decimals, judged on the 15-digit decimal
// form of x * 10^digits so that values written with that many decimals
// round as written.
double roundDecimals(double x, int digits) {
    const double scale = std::pow(10.0, digits);
    const double scaled = finite(x * scale);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", scaled);
    const double r = RoundHalfEven(std::strtod(buf, nullptr));
    return digits == 0 ? r : finite(r / scale);
}

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : t_(std::move(tokens)) {}

    ExpressionValue parseAll() {
        ExpressionValue v = comparison(0);
        if (peek().kind != Tok::End) throw EvalError("unexpected text after the expression");
        return v;
    }

private:
    static constexpr int MaxDepth = 200;

    const Token& peek() const { return t_[pos_]; }
    bool atOp(const char* op) const { return peek().kind == Tok::Op && peek().text == op; }
    bool atWord(const char* w) const { return peek().kind == Tok::Word && peek().text == w; }

    ExpressionValue comparison(int depth) {
        if (depth > MaxDepth) throw EvalError("expression nested too deeply");
        ExpressionValue left = concat(depth);
        for (;;) {
            const Token& tk = peek();
            if (tk.kind != Tok::Op) return left;
            const std::string op = tk.text;
            if (op != "=" && op != "<>" && op != "<" && op != ">" && op != "<=" && op != ">=") return left;
            ++pos_;
            ExpressionValue right = concat(depth);
            left = compare(left, right, op);
        }
    }

    static bool compare(const ExpressionValue& a, const ExpressionValue& b, const std::string& op) {
        int c = 0;
        const bool bothText = std::holds_alternative<std::string>(a) && std::holds_alternative<std::string>(b);
        if (bothText) {
            const std::string& x = std::get<std::string>(a);
            const std::string& y = std::get<std::string>(b);
            c = x < y ? -1 : (x > y ? 1 : 0);
        } else {
            const double x = toNumber(a), y = toNumber(b);
            c = x < y ? -1 : (x > y ? 1 : 0);
        }
        if (op == "=") return c == 0;
        if (op == "<>") return c != 0;
        if (op == "<") return c < 0;
        if (op == ">") return c > 0;
        if (op == "<=") return c <= 0;
        return c >= 0;
    }

    ExpressionValue concat(int depth) {
        ExpressionValue left = additive(depth);
        while (atOp("&")) {
            ++pos_;
            ExpressionValue right = additive(depth);
            left = ExpressionValueText(left) + ExpressionValueText(right);
        }
        return left;
    }

    ExpressionValue additive(int depth) {
        ExpressionValue left = modulo(depth);
        while (atOp("+") || atOp("-")) {
            const bool plus = peek().text == "+";
            ++pos_;
            const double b = toNumber(modulo(depth));
            const double a = toNumber(left);
            left = finite(plus ? a + b : a - b);
        }
        return left;
    }

    ExpressionValue modulo(int depth) {
        ExpressionValue left = intdiv(depth);
        while (atWord("mod")) {
            ++pos_;
            const int64_t b = toWhole(intdiv(depth));
            const int64_t a = toWhole(left);
            if (b == 0) throw EvalError("division by zero");
            left = static_cast<double>(a % b);
        }
        return left;
    }

    ExpressionValue intdiv(int depth) {
        ExpressionValue left = product(depth);
        while (atOp("\\")) {
            ++pos_;
            const int64_t b = toWhole(product(depth));
            const int64_t a = toWhole(left);
            if (b == 0) throw EvalError("division by zero");
            left = static_cast<double>(a / b);
        }
        return left;
    }

    ExpressionValue product(int depth) {
        ExpressionValue left = unary(depth);
        while (atOp("*") || atOp("/")) {
            const bool times = peek().text == "*";
            ++pos_;
            const double b = toNumber(unary(depth));
            const double a = toNumber(left);
            if (!times && b == 0.0) throw EvalError("division by zero");
            left = finite(times ? a * b : a / b);
        }
        return left;
    }

    ExpressionValue unary(int depth) {
        if (depth > MaxDepth) throw EvalError("expression nested too deeply");
        if (atOp("-") || atOp("+")) {
            const bool minus = peek().text == "-";
            ++pos_;
            const double v = toNumber(unary(depth + 1));
            return minus ? -v : v;
        }
        return power(depth);
    }

    ExpressionValue power(int depth) {
        ExpressionValue left = primary(depth);
        while (atOp("^")) {
            ++pos_;
            double sign = 1.0;
            while (atOp("-") || atOp("+")) {
                if (peek().text == "-") sign = -sign;
                ++pos_;
            }
            const double e = sign * toNumber(primary(depth));
            left = finite(std::pow(toNumber(left), e));
        }
        return left;
    }

    ExpressionValue primary(int depth) {
        const Token tk = peek();
        switch (tk.kind) {
            case Tok::Number: ++pos_; return tk.number;
            case Tok::Text: ++pos_; return tk.text;
            case Tok::Open: {
                ++pos_;
                ExpressionValue v = comparison(depth + 1);
                if (peek().kind != Tok::Close) throw EvalError("missing )");
                ++pos_;
                return v;
            }
            case Tok::Word: {
                ++pos_;
                if (tk.text == "true") return true;
                if (tk.text == "false") return false;
                return function(tk.text, depth);
            }
            default: throw EvalError("a value is missing");
        }
    }

    ExpressionValue function(const std::string& name, int depth) {
        if (name != "int" && name != "fix" && name != "abs" && name != "sqr" && name != "log" && name != "exp" &&
            name != "round")
            throw EvalError("unknown word '" + name + "'");
        if (peek().kind != Tok::Open) throw EvalError(name + " needs (");
        ++pos_;
        std::vector<double> args;
        args.push_back(toNumber(comparison(depth + 1)));
        while (peek().kind == Tok::Comma) {
            ++pos_;
            args.push_back(toNumber(comparison(depth + 1)));
        }
        if (peek().kind != Tok::Close) throw EvalError("missing )");
        ++pos_;
        const size_t maxArgs = name == "round" ? 2 : 1;
        if (args.size() > maxArgs) throw EvalError("too many arguments to " + name);
        const double x = args[0];
        if (name == "int") return Int(x);
        if (name == "fix") return Fix(x);
        if (name == "abs") return std::fabs(x);
        if (name == "sqr") {
            if (x < 0) throw EvalError("square root of a negative number");
            return std::sqrt(x);
        }
        if (name == "log") {
            if (x <= 0) throw EvalError("logarithm of a number not above 0");
            return std::log(x);
        }
        if (name == "exp") return finite(std::exp(x));
        // round
        double digits = 0;
        if (args.size() == 2) {
            digits = RoundHalfEven(args[1]);
            if (digits < 0 || digits > 15) throw EvalError("Round takes 0 to 15 decimals");
        }
        return roundDecimals(x, static_cast<int>(digits));
    }

    std::vector<Token> t_;
    size_t pos_ = 0;
};

}  // namespace

ExpressionResult EvaluateExpression(std::string_view text) {
    ExpressionResult result;
    try {
        result.value = Parser(tokenize(text)).parseAll();
    } catch (const EvalError& e) {
        result.error = e.what();
    }
    return result;
}

std::string ExpressionValueText(const ExpressionValue& value) {
    if (const double* d = std::get_if<double>(&value)) return NumberText(*d);
    if (const bool* b = std::get_if<bool>(&value)) return *b ? "True" : "False";
    return std::get<std::string>(value);
}

}  // namespace qv
