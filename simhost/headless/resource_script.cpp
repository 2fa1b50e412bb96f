#include "simhost/headless/resource_script.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/win_api.h"
#include "simhost/headless/ansi_code_page.h"

namespace simhost::headless {
namespace {

enum class TokenKind { Number, String, Word, Punct, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;  // words, punctuation, and strings after unescaping (still 8-bit)
    std::int64_t number = 0;
    int line = 0;
};

bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// The names the script's #define lines give numbers, its own and its headers'.
using Defines = std::map<std::string, std::int64_t, std::less<>>;

bool ReadFile(const std::filesystem::path& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return true;
}

class Lexer {
public:
    // `folder` is where the text's quoted #include names start.
    Lexer(std::string_view text, const std::string& source, std::filesystem::path folder,
          Defines& defines, int firstLine = 1)
        : text_(text),
          source_(source),
          folder_(std::move(folder)),
          defines_(defines),
          line_(firstLine) {}

    [[noreturn]] void Fail(int line, const std::string& what) const {
        throw ResourceScriptError(source_ + ":" + std::to_string(line) + ": " + what);
    }

    Token Next() {
        SkipBlanks();
        Token token;
        token.line = line_;
        if (pos_ >= text_.size()) return token;
        const char c = text_[pos_];
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '-') return ReadNumber(token);
        if (c == '"') return ReadString(token);
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            token.kind = TokenKind::Word;
            while (pos_ < text_.size() &&
                   (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_')) {
                token.text.push_back(text_[pos_++]);
            }
            return token;
        }
        if (c == ',' || c == '|' || c == '{' || c == '}') {
            token.kind = TokenKind::Punct;
            token.text = std::string(1, c);
            ++pos_;
            return token;
        }
        Fail(line_, std::string("unexpected character '") + c + "'");
    }

private:
    bool NextIs(char c) {
        SkipBlanks();
        return pos_ < text_.size() && text_[pos_] == c;
    }

    void SkipBlanks() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
                atLineStart_ = true;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++pos_;
            } else if (c == '#' && atLineStart_) {
                const std::size_t end = std::min(text_.find('\n', pos_), text_.size());
                Directive(text_.substr(pos_ + 1, end - pos_ - 1));
                pos_ = end;
            } else if (text_.substr(pos_, 2) == "//") {
                while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
            } else if (text_.substr(pos_, 2) == "/*") {
                const int opened = line_;
                pos_ += 2;
                while (pos_ < text_.size() && text_.substr(pos_, 2) != "*/") {
                    if (text_[pos_] == '\n') ++line_;
                    ++pos_;
                }
                if (pos_ >= text_.size()) Fail(opened, "unterminated comment");
                pos_ += 2;
            } else {
                atLineStart_ = false;
                return;
            }
        }
    }

    // The preprocessor lines the dialogs' ids need: #define of a name as a number, and #include
    // of a header of such lines. A system header (<...>) is passed over: the styles it names
    // are not resolved. Anything else would change what the script means, so it is refused.
    void Directive(std::string_view line) {
        Lexer words(line, source_, folder_, defines_, line_);
        const Token directive = words.Next();
        if (directive.kind != TokenKind::Word) Fail(line_, "malformed preprocessor line");
        if (directive.text == "pragma") return;
        if (directive.text == "define") return Define(words);
        if (directive.text != "include") Fail(line_, "#" + directive.text + " is not understood");
        if (words.NextIs('<')) return;
        const Token name = words.Next();
        if (name.kind != TokenKind::String || words.Next().kind != TokenKind::End)
            Fail(line_, "expected #include \"<header>\"");
        const std::filesystem::path path = folder_ / name.text;
        std::string text;
        if (!ReadFile(path, text)) Fail(line_, "cannot read the header " + path.string());
        const std::string source = path.string();
        Lexer header(text, source, path.parent_path(), defines_);
        const Token stray = header.Next();
        if (stray.kind != TokenKind::End)
            header.Fail(stray.line, "a header may hold only preprocessor lines");
    }

    void Define(Lexer& words) {
        const Token name = words.Next();
        if (name.kind != TokenKind::Word) Fail(line_, "expected a name after #define");
        const Token value = words.Next();
        std::int64_t number = value.number;
        if (value.kind == TokenKind::Word) {
            const auto known = defines_.find(value.text);
            if (known == defines_.end()) Fail(line_, "unknown name '" + value.text + "'");
            number = known->second;
        } else if (value.kind != TokenKind::Number) {
            Fail(line_, "#define " + name.text + " does not give a number");
        }
        if (words.Next().kind != TokenKind::End)
            Fail(line_, "#define " + name.text + " gives more than one number");
        defines_.insert_or_assign(name.text, number);
    }

    Token ReadNumber(Token& token) {
        token.kind = TokenKind::Number;
        bool negative = false;
        if (text_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        int base = 10;
        if (text_.substr(pos_, 2) == "0x" || text_.substr(pos_, 2) == "0X") {
            base = 16;
            pos_ += 2;
        }
        std::int64_t value = 0;
        std::size_t digits = 0;
        while (pos_ < text_.size()) {
            const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text_[pos_])));
            int digit = -1;
            if (c >= '0' && c <= '9') digit = c - '0';
            if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
            if (digit < 0) break;
            value = value * base + digit;
            if (value > 0xFFFFFFFFll) Fail(token.line, "number out of range");
            ++digits;
            ++pos_;
        }
        // The resource compiler accepts a trailing L (long) on numbers.
        if (pos_ < text_.size() && (text_[pos_] == 'L' || text_[pos_] == 'l')) ++pos_;
        if (digits == 0) Fail(token.line, "malformed number");
        token.number = negative ? -value : value;
        return token;
    }

    Token ReadString(Token& token) {
        token.kind = TokenKind::String;
        ++pos_;
        while (true) {
            if (pos_ >= text_.size() || text_[pos_] == '\n')
                Fail(token.line, "unterminated string");
            const char c = text_[pos_++];
            if (c == '"') {
                // A doubled quote stands for one quote.
                if (pos_ < text_.size() && text_[pos_] == '"') {
                    token.text.push_back('"');
                    ++pos_;
                    continue;
                }
                return token;
            }
            if (c == '\\' && pos_ < text_.size()) {
                const char e = text_[pos_++];
                token.text.push_back(e == 'n' ? '\n' : e == 't' ? '\t' : e);
                continue;
            }
            token.text.push_back(c);
        }
    }

    std::string_view text_;
    const std::string& source_;
    std::filesystem::path folder_;
    Defines& defines_;
    std::size_t pos_ = 0;
    int line_;
    bool atLineStart_ = true;
};

class Parser {
public:
    Parser(std::string_view text, const std::string& source, std::filesystem::path folder)
        : lexer_(text, source, std::move(folder), defines_) {
        Advance();
    }

    std::vector<DialogTemplate> Dialogs() {
        std::vector<DialogTemplate> dialogs;
        while (current_.kind != TokenKind::End) {
            if (IsWord("LANGUAGE")) {
                Advance();
                ExpectNumber();
                ExpectPunct(",");
                ExpectNumber();
                continue;
            }
            const Token id = current_;
            if (id.kind == TokenKind::Word) FailUnknownName();
            if (id.kind != TokenKind::Number) Fail("expected a resource id");
            Advance();
            if (!IsWord("DIALOG") && !IsWord("DIALOGEX")) {
                Fail("only DIALOG and DIALOGEX resources are understood, found '" + current_.text +
                     "'");
            }
            dialogs.push_back(Dialog(static_cast<std::int32_t>(id.number)));
        }
        return dialogs;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const { lexer_.Fail(current_.line, what); }
    // A #defined name stands for its number wherever it appears, as after the preprocessor.
    void Advance() {
        current_ = lexer_.Next();
        if (current_.kind != TokenKind::Word) return;
        const auto known = defines_.find(current_.text);
        if (known == defines_.end()) return;
        current_.kind = TokenKind::Number;
        current_.number = known->second;
    }
    [[noreturn]] void FailUnknownName() const { Fail("unknown name '" + current_.text + "'"); }
    bool IsWord(std::string_view word) const {
        return current_.kind == TokenKind::Word && SameWord(current_.text, word);
    }
    bool IsPunct(std::string_view p) const {
        return current_.kind == TokenKind::Punct && current_.text == p;
    }
    void ExpectPunct(std::string_view p) {
        if (!IsPunct(p)) Fail("expected '" + std::string(p) + "'");
        Advance();
    }
    std::int64_t ExpectNumber() {
        if (current_.kind == TokenKind::Word) FailUnknownName();
        if (current_.kind != TokenKind::Number) Fail("expected a number");
        const std::int64_t value = current_.number;
        Advance();
        return value;
    }
    std::string ExpectString() {
        if (current_.kind != TokenKind::String) Fail("expected a quoted text");
        std::string text = current_.text;
        Advance();
        return text;
    }
    // Numbers joined by '|'.
    std::uint32_t Flags() {
        std::uint32_t value = static_cast<std::uint32_t>(ExpectNumber());
        while (IsPunct("|")) {
            Advance();
            value |= static_cast<std::uint32_t>(ExpectNumber());
        }
        return value;
    }
    bool AtBlockStart() const { return IsWord("BEGIN") || IsPunct("{"); }
    bool AtBlockEnd() const { return IsWord("END") || IsPunct("}"); }

    DialogTemplate Dialog(std::int32_t id) {
        DialogTemplate dialog;
        dialog.id = id;
        dialog.extended = IsWord("DIALOGEX");
        Advance();
        // Memory options of 16-bit resources are accepted and mean nothing.
        while (IsWord("DISCARDABLE") || IsWord("MOVEABLE") || IsWord("PURE") || IsWord("PRELOAD") ||
               IsWord("LOADONCALL") || IsWord("FIXED") || IsWord("IMPURE")) {
            Advance();
        }
        dialog.x = static_cast<std::int32_t>(ExpectNumber());
        ExpectPunct(",");
        dialog.y = static_cast<std::int32_t>(ExpectNumber());
        ExpectPunct(",");
        dialog.cx = static_cast<std::int32_t>(ExpectNumber());
        ExpectPunct(",");
        dialog.cy = static_cast<std::int32_t>(ExpectNumber());
        if (dialog.extended && IsPunct(",")) {
            Advance();
            ExpectNumber();  // help id
        }
        // Without a STYLE statement the resource compiler gives a dialog these.
        std::uint32_t style = WS_POPUP | WS_BORDER | WS_SYSMENU;
        while (!AtBlockStart()) {
            if (current_.kind == TokenKind::End) Fail("dialog has no BEGIN");
            if (IsWord("STYLE")) {
                Advance();
                style = Flags();
            } else if (IsWord("EXSTYLE")) {
                Advance();
                dialog.exStyle = Flags();
            } else if (IsWord("CAPTION")) {
                Advance();
                dialog.caption = AnsiToWide(ExpectString());
                dialog.style |= WS_CAPTION;
            } else if (IsWord("FONT")) {
                Advance();
                dialog.hasFont = true;
                dialog.fontPoints = static_cast<std::int32_t>(ExpectNumber());
                ExpectPunct(",");
                dialog.fontFace = AnsiToWide(ExpectString());
                // DIALOGEX fonts may add weight, italic and character set.
                while (IsPunct(",")) {
                    Advance();
                    ExpectNumber();
                }
                dialog.style |= DS_SETFONT;
            } else {
                Fail("unknown dialog statement '" + current_.text + "'");
            }
        }
        dialog.style |= style;
        Advance();
        while (!AtBlockEnd()) {
            if (current_.kind == TokenKind::End) Fail("dialog has no END");
            if (!IsWord("CONTROL")) {
                Fail("only CONTROL lines are understood, found '" + current_.text + "'");
            }
            Advance();
            dialog.controls.push_back(Control());
        }
        Advance();
        return dialog;
    }

    ControlTemplate Control() {
        ControlTemplate control;
        control.text = AnsiToWide(ExpectString());
        ExpectPunct(",");
        control.id = static_cast<std::int32_t>(ExpectNumber());
        ExpectPunct(",");
        if (current_.kind == TokenKind::String || current_.kind == TokenKind::Word) {
            control.className = current_.text;
            Advance();
        } else {
            Fail("expected a control class");
        }
        ExpectPunct(",");
        // The resource compiler makes every CONTROL a visible child.
        control.style = Flags() | WS_CHILD | WS_VISIBLE;
        std::int32_t* fields[] = {&control.x, &control.y, &control.cx, &control.cy};
        for (std::int32_t* field : fields) {
            ExpectPunct(",");
            *field = static_cast<std::int32_t>(ExpectNumber());
        }
        if (IsPunct(",")) {
            Advance();
            control.exStyle = Flags();
        }
        return control;
    }

    Defines defines_;
    Lexer lexer_;
    Token current_;
};

}  // namespace

ResourceScript ResourceScript::Parse(std::string_view text, const std::string& source,
                                     const std::filesystem::path& folder) {
    ResourceScript script;
    script.dialogs_ = Parser(text, source, folder).Dialogs();
    return script;
}

ResourceScript ResourceScript::Load(const std::string& path) {
    std::string text;
    if (!ReadFile(path, text)) throw ResourceScriptError(path + ": cannot be read");
    return Parse(text, path, std::filesystem::path(path).parent_path());
}

const DialogTemplate* ResourceScript::FindDialog(std::int32_t id) const {
    for (const DialogTemplate& dialog : dialogs_) {
        if (dialog.id == id) return &dialog;
    }
    return nullptr;
}

}  // namespace simhost::headless
