#include "script.h"

#include <cctype>
#include <charconv>

namespace comhost {

namespace {

struct Token {
    enum Kind { End, Identifier, Number, String, Symbol } kind = End;
    std::string text;
};

bool same_word(const std::string& a, const char* b) {
    std::size_t n = 0;
    for (; b[n]; ++n)
        if (n >= a.size() || std::tolower(static_cast<unsigned char>(a[n])) != std::tolower(static_cast<unsigned char>(b[n])))
            return false;
    return n == a.size();
}

class Parser {
public:
    explicit Parser(std::string_view line) : line_(line) { advance(); }

    ParseResult statement() {
        Statement s;
        if (token_.kind == Token::End) return ok(s);
        if (is_word("Set")) {
            advance();
            s.target = identifier("a name after Set");
            expect("=");
            if (is_word("CreateObject")) {
                advance();
                expect("(");
                if (token_.kind != Token::String) fail("CreateObject needs a quoted class name");
                s.kind = Statement::Create;
                s.prog_id = token_.text;
                advance();
                expect(")");
            } else {
                s.kind = Statement::Assign;
                expression(s);
            }
        } else if (is_word("Print")) {
            advance();
            s.kind = Statement::Print;
            expression(s);
        } else {
            s.call.object = identifier("a statement");
            expect(".");
            s.call.member = identifier("a member name after '.'");
            if (is_symbol("=")) {
                advance();
                s.kind = Statement::Put;
                s.call.args.push_back(value());
            } else {
                s.kind = Statement::Invoke;
                bool parens = is_symbol("(");
                if (parens) advance();
                if (!(parens ? is_symbol(")") : token_.kind == Token::End)) arguments(s.call.args);
                if (parens) expect(")");
            }
        }
        if (token_.kind != Token::End) fail("unexpected '" + token_.text + "'");
        return ok(s);
    }

    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }

private:
    ParseResult ok(const Statement& s) {
        if (failed()) return {std::nullopt, error_};
        return {s, ""};
    }

    void fail(const std::string& message) {
        if (error_.empty()) error_ = message;
        token_ = {};
        pos_ = line_.size();
    }

    bool is_word(const char* word) const { return token_.kind == Token::Identifier && same_word(token_.text, word); }
    bool is_symbol(const char* symbol) const { return token_.kind == Token::Symbol && token_.text == symbol; }

    void expect(const char* symbol) {
        if (!is_symbol(symbol)) fail(std::string("'") + symbol + "' expected");
        else advance();
    }

    std::string identifier(const char* what) {
        if (token_.kind != Token::Identifier) {
            fail(std::string(what) + " expected");
            return {};
        }
        std::string name = token_.text;
        advance();
        return name;
    }

    // After "Set name =" or "Print": a member call obj.Member[(args)] or a plain value.
    void expression(Statement& s) {
        if (token_.kind == Token::Identifier && !is_keyword_value() && peek_is('.')) {
            s.is_call = true;
            s.call.object = identifier("a name");
            expect(".");
            s.call.member = identifier("a member name after '.'");
            if (is_symbol("(")) {
                advance();
                if (!is_symbol(")")) arguments(s.call.args);
                expect(")");
            }
        } else {
            s.value = value();
        }
    }

    bool is_keyword_value() const {
        return is_word("True") || is_word("False") || is_word("Nothing") || is_word("Bytes");
    }

    bool peek_is(char c) const {
        std::size_t p = pos_;
        while (p < line_.size() && (line_[p] == ' ' || line_[p] == '\t')) ++p;
        return p < line_.size() && line_[p] == c;
    }

    void arguments(std::vector<Value>& args) {
        args.push_back(value());
        while (!failed() && is_symbol(",")) {
            advance();
            args.push_back(value());
        }
    }

    Value value() {
        Value v;
        bool negative = false;
        if (is_symbol("-")) {
            negative = true;
            advance();
            if (token_.kind != Token::Number) fail("a number expected after '-'");
        }
        if (token_.kind == Token::Number) {
            number(negative ? "-" + token_.text : token_.text, v);
        } else if (token_.kind == Token::String) {
            v.kind = Value::String;
            v.text = token_.text;
        } else if (is_word("True") || is_word("False")) {
            v.kind = Value::Boolean;
            v.boolean = is_word("True");
        } else if (is_word("Nothing")) {
            v.kind = Value::Nothing;
        } else if (is_word("Bytes")) {
            advance();
            if (!is_symbol("(")) fail("'(' expected after Bytes");
            advance();
            if (token_.kind != Token::String) fail("Bytes needs a quoted hex string");
            hex(token_.text, v);
            advance();
            if (!is_symbol(")")) fail("')' expected");
        } else if (token_.kind == Token::Identifier) {
            v.kind = Value::Name;
            v.text = token_.text;
        } else {
            fail(token_.kind == Token::End ? "a value expected" : "unexpected '" + token_.text + "'");
            return v;
        }
        advance();
        return v;
    }

    void number(const std::string& text, Value& v) {
        const char* begin = text.data();
        const char* end = begin + text.size();
        auto [p, ec] = std::from_chars(begin, end, v.integer);
        if (ec == std::errc() && p == end) {
            v.kind = Value::Integer;
            return;
        }
        auto [q, ec2] = std::from_chars(begin, end, v.real);
        if (ec2 != std::errc() || q != end) fail("bad number '" + text + "'");
        v.kind = Value::Real;
    }

    void hex(const std::string& text, Value& v) {
        v.kind = Value::Bytes;
        if (text.size() % 2) fail("Bytes needs an even number of hex digits");
        for (std::size_t i = 0; !failed() && i < text.size(); i += 2) {
            std::uint8_t b = 0;
            auto [p, ec] = std::from_chars(text.data() + i, text.data() + i + 2, b, 16);
            if (ec != std::errc() || p != text.data() + i + 2) fail("Bytes needs hex digits 0-9, a-f");
            v.bytes.push_back(b);
        }
    }

    void advance() {
        while (pos_ < line_.size() && (line_[pos_] == ' ' || line_[pos_] == '\t' || line_[pos_] == '\r')) ++pos_;
        token_ = {};
        if (pos_ >= line_.size() || line_[pos_] == '\'') {
            pos_ = line_.size();
            return;
        }
        char c = line_[pos_];
        std::size_t start = pos_;
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            while (pos_ < line_.size() && (std::isalnum(static_cast<unsigned char>(line_[pos_])) || line_[pos_] == '_'))
                ++pos_;
            token_ = {Token::Identifier, std::string(line_.substr(start, pos_ - start))};
        } else if (std::isdigit(static_cast<unsigned char>(c)) || (c == '.' && pos_ + 1 < line_.size() &&
                                                                   std::isdigit(static_cast<unsigned char>(line_[pos_ + 1])))) {
            while (pos_ < line_.size()) {
                char d = line_[pos_];
                bool exponent_sign = (d == '+' || d == '-') && (line_[pos_ - 1] == 'e' || line_[pos_ - 1] == 'E');
                if (!std::isalnum(static_cast<unsigned char>(d)) && d != '.' && !exponent_sign) break;
                ++pos_;
            }
            token_ = {Token::Number, std::string(line_.substr(start, pos_ - start))};
        } else if (c == '"') {
            std::string text;
            for (++pos_;; ++pos_) {
                if (pos_ >= line_.size()) {
                    fail("unterminated string");
                    return;
                }
                if (line_[pos_] == '"') {
                    if (pos_ + 1 < line_.size() && line_[pos_ + 1] == '"') {
                        text += '"';
                        ++pos_;
                        continue;
                    }
                    ++pos_;
                    break;
                }
                text += line_[pos_];
            }
            token_ = {Token::String, text};
        } else if (c == '.' || c == ',' || c == '(' || c == ')' || c == '=' || c == '-') {
            ++pos_;
            token_ = {Token::Symbol, std::string(1, c)};
        } else {
            fail(std::string("unexpected character '") + c + "'");
        }
    }

    std::string_view line_;
    std::size_t pos_ = 0;
    Token token_;
    std::string error_;
};

} // namespace

ParseResult parse_statement(std::string_view line) { return Parser(line).statement(); }

} // namespace comhost
