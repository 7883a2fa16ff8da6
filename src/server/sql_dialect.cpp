#include "server/sql_dialect.h"

#include <cctype>
#include <vector>

#include "server/sql_engine.h"
#include "server/sql_error.h"

namespace vym::server {
namespace {

enum class TokenKind { Word, Literal, Space, Punct, Other };

struct Token {
    TokenKind kind;
    std::string_view text;
};

bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// Splits SQL into words, quoted pieces (literals, quoted names, comments),
// blanks and single punctuation characters.
std::vector<Token> Tokenize(std::string_view sql) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    const std::size_t n = sql.size();
    while (i < n) {
        const std::size_t start = i;
        const char c = sql[i];
        TokenKind kind = TokenKind::Punct;
        if (c == '\'' || c == '"' || c == '`') {
            // A doubled quote inside stays part of the piece.
            ++i;
            while (i < n) {
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            kind = TokenKind::Literal;
        } else if (c == '[') {
            while (i < n && sql[i] != ']') {
                ++i;
            }
            i = i < n ? i + 1 : n;
            kind = TokenKind::Literal;
        } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
            while (i < n && sql[i] != '\n') {
                ++i;
            }
            kind = TokenKind::Literal;
        } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
            const auto end = sql.find("*/", i + 2);
            i = end == std::string_view::npos ? n : end + 2;
            kind = TokenKind::Literal;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            while (i < n && std::isspace(static_cast<unsigned char>(sql[i]))) {
                ++i;
            }
            kind = TokenKind::Space;
        } else if (IsWordChar(c)) {
            while (i < n && IsWordChar(sql[i])) {
                ++i;
            }
            kind = TokenKind::Word;
        } else {
            ++i;
        }
        tokens.push_back({kind, sql.substr(start, i - start)});
    }
    return tokens;
}

bool Is(const Token& token, std::string_view word) {
    if (token.text.size() != word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(token.text[i])) !=
            std::toupper(static_cast<unsigned char>(word[i]))) {
            return false;
        }
    }
    return true;
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

class Translator {
  public:
    Translator(std::string_view sql, std::vector<Token> tokens, bool postgres)
        : sql_(sql), tokens_(std::move(tokens)), postgres_(postgres) {}

    std::string Run() { return Translate(0, tokens_.size()); }

  private:
    // Index of the next token that is not a blank, from `i`, before `end`.
    std::size_t Skip(std::size_t i, std::size_t end) const {
        while (i < end && tokens_[i].kind == TokenKind::Space) {
            ++i;
        }
        return i;
    }

    bool IsPunct(std::size_t i, std::size_t end, char c) const {
        return i < end && tokens_[i].kind == TokenKind::Punct && tokens_[i].text[0] == c;
    }

    // The index of the bracket closing the one at `open`, or `end`.
    std::size_t Closing(std::size_t open, std::size_t end) const {
        int depth = 0;
        for (std::size_t i = open; i < end; ++i) {
            if (tokens_[i].kind != TokenKind::Punct) {
                continue;
            }
            const char c = tokens_[i].text[0];
            if (c == '(' || c == '{') {
                ++depth;
            } else if ((c == ')' || c == '}') && --depth == 0) {
                return i;
            }
        }
        return end;
    }

    [[noreturn]] void Fail(std::string_view what) const {
        throw SqlError(1, std::string(what), sql_);
    }

    std::string Translate(std::size_t begin, std::size_t end) {
        std::string out;
        out.reserve(sql_.size());
        bool sawStatementWord = false;
        for (std::size_t i = begin; i < end; ++i) {
            const Token& token = tokens_[i];
            if (token.kind == TokenKind::Punct && token.text[0] == '{') {
                i = Escape(i, end, out);
                sawStatementWord = true;
                continue;
            }
            if (token.kind != TokenKind::Word) {
                out += token.text;
                continue;
            }
            const bool first = !sawStatementWord;
            sawStatementWord = true;
            if (Is(token, "ISNULL") && IsPunct(Skip(i + 1, end), end, '(')) {
                out += "COALESCE";
                continue;
            }
            // x'0102', a blob literal
            if (postgres_ && (Is(token, "x")) && i + 1 < end &&
                tokens_[i + 1].kind == TokenKind::Literal && tokens_[i + 1].text[0] == '\'') {
                out += "'\\x" + std::string(tokens_[i + 1].text.substr(1)) + "::bytea";
                ++i;
                continue;
            }
            if (postgres_ && Is(token, "LIKE")) {
                out += "ILIKE";
                continue;
            }
            if (Is(token, "WITH")) {
                // Table hint: WITH ( NOLOCK ) reads committed data here anyway.
                const std::size_t open = Skip(i + 1, end);
                const std::size_t hint = Skip(open + 1, end);
                const std::size_t close = Skip(hint + 1, end);
                if (IsPunct(open, end, '(') && hint < end && Is(tokens_[hint], "NOLOCK") &&
                    IsPunct(close, end, ')')) {
                    i = close;
                    continue;
                }
            }
            out += token.text;
            if (first && Is(token, "DELETE")) {
                const std::size_t next = Skip(i + 1, end);
                if (next < end && !Is(tokens_[next], "FROM") &&
                    (tokens_[next].kind == TokenKind::Word ||
                     tokens_[next].kind == TokenKind::Literal)) {
                    out += " FROM";
                }
            }
        }
        return out;
    }

    // Translates "{fn NAME(args)}" starting at `open`; returns the index of
    // the closing brace.
    std::size_t Escape(std::size_t open, std::size_t end, std::string& out) {
        const std::size_t close = Closing(open, end);
        if (close == end) {
            Fail("unclosed {fn escape");
        }
        const std::size_t fn = Skip(open + 1, close);
        const std::size_t name = Skip(fn + 1, close);
        const std::size_t paren = Skip(name + 1, close);
        if (fn >= close || !Is(tokens_[fn], "fn") || name >= close ||
            tokens_[name].kind != TokenKind::Word || !IsPunct(paren, close, '(')) {
            Fail("unsupported escape");
        }
        const std::size_t parenClose = Closing(paren, close);
        if (parenClose == close || Skip(parenClose + 1, close) != close) {
            Fail("unsupported escape");
        }
        std::vector<std::string> args;
        std::size_t argStart = paren + 1;
        int depth = 0;
        for (std::size_t i = paren + 1; i <= parenClose; ++i) {
            if (tokens_[i].kind != TokenKind::Punct) {
                continue;
            }
            const char c = tokens_[i].text[0];
            if (c == '(' || c == '{') {
                ++depth;
            } else if ((c == ')' || c == '}') && depth > 0) {
                --depth;
            } else if ((c == ',' && depth == 0) || i == parenClose) {
                args.push_back(Translate(argStart, i));
                argStart = i + 1;
            }
        }
        const Token& function = tokens_[name];
        if (Is(function, "CONCAT") && args.size() == 2) {
            out += "(" + Trim(args[0]) + " || " + Trim(args[1]) + ")";
            return close;
        }
        if (Is(function, "UCASE")) {
            out += "UPPER";
        } else if (Is(function, "LCASE")) {
            out += "LOWER";
        } else {
            out += function.text;
        }
        out += "(";
        for (std::size_t a = 0; a < args.size(); ++a) {
            out += (a ? "," : "") + args[a];
        }
        out += ")";
        return close;
    }

    std::string_view sql_;
    std::vector<Token> tokens_;
    bool postgres_;
};

std::size_t NextSolid(const std::vector<Token>& tokens, std::size_t i) {
    while (i < tokens.size() && tokens[i].kind == TokenKind::Space) {
        ++i;
    }
    return i;
}

}  // namespace

std::optional<std::string> SingleTableOf(std::string_view select) {
    const std::vector<Token> tokens = Tokenize(select);
    std::size_t i = NextSolid(tokens, 0);
    if (i == tokens.size() || !Is(tokens[i], "SELECT")) {
        return std::nullopt;
    }
    int depth = 0;
    for (; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.kind == TokenKind::Punct && t.text[0] == '(') {
            ++depth;
        } else if (t.kind == TokenKind::Punct && t.text[0] == ')') {
            --depth;
        } else if (depth == 0 && t.kind == TokenKind::Word && Is(t, "FROM")) {
            break;
        }
    }
    const std::size_t table = NextSolid(tokens, i + 1);
    if (table >= tokens.size() || tokens[table].kind != TokenKind::Word) {
        return std::nullopt;
    }
    // After the table: an optional alias, then the end or a clause that keeps
    // the query on one table.
    std::size_t next = NextSolid(tokens, table + 1);
    if (next < tokens.size() && tokens[next].kind == TokenKind::Word && Is(tokens[next], "AS")) {
        next = NextSolid(tokens, next + 1);
    }
    static constexpr std::string_view kClauses[] = {"WHERE", "ORDER", "GROUP", "HAVING", "LIMIT"};
    const auto isClause = [&](const Token& t) {
        for (std::string_view clause : kClauses) {
            if (Is(t, clause)) {
                return true;
            }
        }
        return false;
    };
    if (next < tokens.size() && tokens[next].kind == TokenKind::Word && !isClause(tokens[next])) {
        next = NextSolid(tokens, next + 1);  // the alias
    }
    if (next < tokens.size() && !(tokens[next].kind == TokenKind::Word && isClause(tokens[next])) &&
        !(tokens[next].kind == TokenKind::Punct && tokens[next].text[0] == ';')) {
        return std::nullopt;
    }
    return std::string(tokens[table].text);
}

std::string TranslateSql(std::string_view sql) {
    return TranslateSql(sql, SqlEngine::Sqlite());
}

std::string TranslateSql(std::string_view sql, const SqlEngine& engine) {
    std::vector<Token> tokens = Tokenize(sql);
    const std::size_t first = NextSolid(tokens, 0);
    const bool ddl =
        first < tokens.size() && (Is(tokens[first], "CREATE") || Is(tokens[first], "ALTER"));
    std::string out = Translator(sql, std::move(tokens), engine.IsPostgres()).Run();
    return ddl && engine.IsPostgres() ? TranslateDdl(out) : out;
}

namespace {

// The PostgreSQL domain standing for a type of the embedded store, or empty.
std::string_view DomainFor(const Token& word) {
    static constexpr std::pair<std::string_view, std::string_view> kTypes[] = {
        {"money", "vym_money"},
        {"bit", "vym_bit"},
        {"datetime", "vym_datetime"},
        {"blob", "vym_blob"},
        {"tinyint", "smallint"}};
    for (const auto& [type, domain] : kTypes) {
        if (Is(word, type)) {
            return domain;
        }
    }
    return {};
}

class DdlTranslator {
  public:
    explicit DdlTranslator(std::string_view sql) : tokens_(Tokenize(sql)) {}

    std::string Run() {
        for (i_ = 0; i_ < tokens_.size(); ++i_) {
            const Token& token = tokens_[i_];
            if (token.kind == TokenKind::Punct && token.text[0] == ';') {
                out_ += ';';
                EndStatement();
                continue;
            }
            if (token.kind != TokenKind::Word) {
                out_ += token.text;
                continue;
            }
            Word(token);
        }
        EndStatement();
        return out_;
    }

  private:
    const Token* At(std::size_t i) const { return i < tokens_.size() ? &tokens_[i] : nullptr; }
    bool WordAt(std::size_t i, std::string_view word) const {
        const Token* t = At(i);
        return t && t->kind == TokenKind::Word && Is(*t, word);
    }
    bool PunctAt(std::size_t i, char c) const {
        const Token* t = At(i);
        return t && t->kind == TokenKind::Punct && t->text[0] == c;
    }

    void Word(const Token& token) {
        if (Is(token, "CREATE") && WordAt(NextSolid(tokens_, i_ + 1), "TABLE")) {
            const std::size_t table = NextSolid(tokens_, NextSolid(tokens_, i_ + 1) + 1);
            table_ = At(table) ? std::string(At(table)->text) : std::string();
        } else if (Is(token, "COLLATE") && WordAt(NextSolid(tokens_, i_ + 1), "NOCASE")) {
            i_ = NextSolid(tokens_, i_ + 1);  // an index or order: the column decides
            return;
        } else if (Is(token, "varchar") || Is(token, "char") || Is(token, "text")) {
            std::size_t next = NextSolid(tokens_, i_ + 1);
            if (PunctAt(next, '(')) {
                while (next < tokens_.size() && !PunctAt(next, ')')) {
                    ++next;
                }
                next = NextSolid(tokens_, next + 1);
            }
            if (WordAt(next, "COLLATE") && WordAt(NextSolid(tokens_, next + 1), "NOCASE")) {
                out_ += "vym_nocase";
                i_ = NextSolid(tokens_, next + 1);
                return;
            }
        } else if (Is(token, "long") && WordAt(NextSolid(tokens_, i_ + 1), "text")) {
            out_ += "vym_long_text";
            i_ = NextSolid(tokens_, i_ + 1);
            return;
        } else if (Is(token, "INTEGER") && WordAt(NextSolid(tokens_, i_ + 1), "PRIMARY")) {
            keyColumn_ = lastWord_;
        } else if (const std::string_view domain = DomainFor(token); !domain.empty()) {
            out_ += domain;
            lastWord_ = token.text;
            return;
        }
        out_ += token.text;
        lastWord_ = token.text;
    }

    void EndStatement() {
        if (!keyColumn_.empty() && !table_.empty()) {
            out_ += "\nCREATE TRIGGER " + table_ + "_key BEFORE INSERT ON " + table_ +
                    " FOR EACH ROW EXECUTE FUNCTION vym_assign_key('" + keyColumn_ + "');";
        }
        keyColumn_.clear();
        table_.clear();
    }

    std::vector<Token> tokens_;
    std::size_t i_ = 0;
    std::string out_;
    std::string table_;
    std::string keyColumn_;
    std::string_view lastWord_;
};

}  // namespace

std::string TranslateDdl(std::string_view sql) {
    return DdlTranslator(sql).Run();
}

std::string TranslatePlaceholders(std::string_view sql, int& count) {
    const std::vector<Token> tokens = Tokenize(sql);
    std::string out;
    out.reserve(sql.size() + 8);
    count = 0;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        if (token.kind != TokenKind::Punct || token.text[0] != '?') {
            out += token.text;
            continue;
        }
        int number = 0;
        if (i + 1 < tokens.size() && tokens[i + 1].kind == TokenKind::Word &&
            std::isdigit(static_cast<unsigned char>(tokens[i + 1].text[0]))) {
            number = std::stoi(std::string(tokens[i + 1].text));
            ++i;
        } else {
            number = count + 1;
        }
        count = std::max(count, number);
        out += '$' + std::to_string(number);
    }
    return out;
}

}  // namespace vym::server
