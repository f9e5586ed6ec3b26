#include "app/model/DefinitionEvaluator.h"
#include "app/model/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/SharedState.h"

namespace qv {
namespace {


// Lower case of a Latin-1 text: ASCII letters and the accented capitals.
std::string lowerLatin1(const std::string& text) {
    std::string out = text;
    for (char& ch : out) {
        const auto u = static_cast<unsigned char>(ch);
        if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) ch = static_cast<char>(u + 32);
    }
    return out;
}

// Pieces between single blanks; two blanks in a row give an empty piece.
std::vector<std::string> splitAtBlanks(const std::string& text) {
    std::vector<std::string> pieces(1);
    for (char ch : text) {
        if (ch == ' ')
            pieces.emplace_back();
        else
            pieces.back() += ch;
    }
    return pieces;
}

bool isKeyword(const std::string& word) { return word == "and" || word == "or" || word == "not"; }

// The first population slot in use whose name, in lower case, is `word`; 0 if none.
int populationNamed(const std::string& word) {
    for (int j = 1; j <= g.MaxPopulations && j < PopulationTableSize; ++j) {
        const PopulationRecord& p = g.PopulationTable[static_cast<size_t>(j)];
        if (p.InUse && lowerLatin1(p.Name) == word) return j;
    }
    return 0;
}

enum class TokenKind { Open, Close, And, Or, Not, Name };
struct Token {
    TokenKind kind;
    int slot = 0;  // population slot of a Name, 0 when no population in use has that name
};

enum class OpCode : uint8_t { Column, Not, And, Or };
struct Instruction {
    OpCode op;
    uint8_t column = 0;
};

// A definition ready to run: the population slot of each truth-table column
// and a postfix program over those columns.
struct CompiledDefinition {
    std::vector<int> columnSlots;
    std::vector<Instruction> program;
};

// Recursive descent over the tokens:
//   expr    := term { "or" term }
//   term    := factor { "and" factor }
//   factor  := "not" primary | primary
//   primary := "(" expr ")" | name
class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    std::optional<CompiledDefinition> parse() {
        if (!expr(0) || pos_ != tokens_.size()) return std::nullopt;
        return std::move(out_);
    }

private:
    static constexpr int MaxNesting = 200;

    bool at(TokenKind kind) const { return pos_ < tokens_.size() && tokens_[pos_].kind == kind; }

    bool expr(int depth) {
        if (depth > MaxNesting || !term(depth)) return false;
        while (at(TokenKind::Or)) {
            ++pos_;
            if (!term(depth)) return false;
            out_.program.push_back({OpCode::Or});
        }
        return true;
    }
    bool term(int depth) {
        if (!factor(depth)) return false;
        while (at(TokenKind::And)) {
            ++pos_;
            if (!factor(depth)) return false;
            out_.program.push_back({OpCode::And});
        }
        return true;
    }
    bool factor(int depth) {
        if (at(TokenKind::Not)) {
            ++pos_;
            if (!primary(depth)) return false;
            out_.program.push_back({OpCode::Not});
            return true;
        }
        return primary(depth);
    }
    bool primary(int depth) {
        if (at(TokenKind::Open)) {
            ++pos_;
            if (!expr(depth + 1) || !at(TokenKind::Close)) return false;
            ++pos_;
            return true;
        }
        if (!at(TokenKind::Name) || tokens_[pos_].slot == 0) return false;
        out_.program.push_back({OpCode::Column, columnOf(tokens_[pos_].slot)});
        ++pos_;
        return true;
    }
    uint8_t columnOf(int slot) {
        auto& known = out_.columnSlots;
        auto it = std::find(known.begin(), known.end(), slot);
        if (it == known.end()) it = known.insert(known.end(), slot);
        return static_cast<uint8_t>(it - known.begin());
    }

    std::vector<Token> tokens_;
    size_t pos_ = 0;
    CompiledDefinition out_;
};

// Words of a piece split at parentheses; the parentheses become tokens of their own.
void tokenizePiece(const std::string& piece, std::vector<Token>& tokens) {
    std::string word;
    auto flush = [&] {
        if (word.empty()) return;
        if (word == "and")
            tokens.push_back({TokenKind::And});
        else if (word == "or")
            tokens.push_back({TokenKind::Or});
        else if (word == "not")
            tokens.push_back({TokenKind::Not});
        else
            tokens.push_back({TokenKind::Name, populationNamed(word)});
        word.clear();
    };
    for (char ch : piece) {
        if (ch == '(' || ch == ')') {
            flush();
            tokens.push_back({ch == '(' ? TokenKind::Open : TokenKind::Close});
        } else {
            word += ch;
        }
    }
    flush();
}

std::vector<uint8_t> truthTable(const CompiledDefinition& def) {
    const size_t rows = size_t{1} << def.columnSlots.size();
    std::vector<uint8_t> table(rows);
    std::vector<uint8_t> stack;
    stack.reserve(def.program.size());
    for (size_t row = 0; row < rows; ++row) {
        stack.clear();
        for (const Instruction& in : def.program) {
            switch (in.op) {
                case OpCode::Column: stack.push_back(static_cast<uint8_t>((row >> in.column) & 1u)); break;
                case OpCode::Not: stack.back() = static_cast<uint8_t>(!stack.back()); break;
                case OpCode::And: {
                    const uint8_t b = stack.back();
                    stack.pop_back();
                    stack.back() = static_cast<uint8_t>(stack.back() && b);
                    break;
                }
                case OpCode::Or: {
                    const uint8_t b = stack.back();
                    stack.pop_back();
                    stack.back() = static_cast<uint8_t>(stack.back() || b);
                    break;
                }
            }
        }
        table[row] = stack.back();
    }
    return table;
}

// Each event's row of the truth table is the bit pattern of its memberships
// in the definition's populations; the table gives the definition's byte.
void writeMembership(FileRecord& file, int slot, const CompiledDefinition& def, const std::vector<uint8_t>& table) {
    const int32_t events = file.EventCount;
    if (events <= 0) return;
    EventMatrix<uint8_t>& m = file.Membership;
    if (!m.contains(events, slot)) return;
    for (int column : def.columnSlots)
        if (!m.contains(events, column)) return;

    constexpr int32_t Block = 4096;
    uint32_t rowOf[Block];
    uint8_t* out = m.column(slot);
    for (int32_t first = 1; first <= events; first += Block) {
        const int32_t count = std::min(Block, events - first + 1);
        std::fill(rowOf, rowOf + count, 0u);
        for (size_t c = 0; c < def.columnSlots.size(); ++c) {
            const uint8_t* in = m.column(def.columnSlots[c]) + first;
            for (int32_t i = 0; i < count; ++i) rowOf[i] |= static_cast<uint32_t>(in[i] != 0) << c;
        }
        uint8_t* dst = out + first;
        for (int32_t i = 0; i < count; ++i) dst[i] = table[rowOf[i]];
    }
}

}  // namespace

DefinitionResult EvaluateDefinition(int slot, const std::string& text) {
    WaitCursor wait;
    DefinitionResult result;
    const std::string work = lowerLatin1(text);

    // Every word must be a keyword or the name of a population in use.
    std::string withoutParentheses;
    for (char ch : work)
        if (ch != '(' && ch != ')') withoutParentheses += ch;
    for (const std::string& word : splitAtBlanks(withoutParentheses)) {
        if (!isKeyword(word) && populationNamed(word) == 0) {
            result.Message = DefinitionWordError + word;
            return result;
        }
    }

    std::vector<Token> tokens;
    for (const std::string& piece : splitAtBlanks(work)) tokenizePiece(piece, tokens);
    std::optional<CompiledDefinition> def = Parser(std::move(tokens)).parse();
    if (!def || !g.isDefinitionSlot(slot)) {
        result.Message = DefinitionProblem;
        return result;
    }

    const std::vector<uint8_t> table = truthTable(*def);
    for (int f = 1; f <= g.MaxFiles && f < static_cast<int>(g.FileTable.size()); ++f) {
        FileRecord& file = g.FileTable[static_cast<size_t>(f)];
        if (file.Loaded) writeMembership(file, slot, *def, table);
    }
    return result;
}

void CheckDefinition(int slot) {
    if (!g.isDefinitionSlot(slot) || slot >= PopulationTableSize) return;
    PopulationRecord& def = g.PopulationTable[static_cast<size_t>(slot)];
    if (!def.InUse) return;
    if (!EvaluateDefinition(slot, def.Name).ok()) def.InUse = false;
}

void CheckAllDefinitions() {
    for (int slot = g.firstDefinitionSlot(); slot <= g.membershipSlots(); ++slot) CheckDefinition(slot);
}

}  // namespace qv
