#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/ToolCheck.h"
#include "scene/pnLexer.h"
#include "sg/sgRuntime.h"

namespace {

struct Tok {
    int sym;
    std::string text;
    int i;
    double f;
};

// Lexes a whole text; the diagnostic output is collected in `diag`.
class LexerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { initLexer(); }

    std::vector<Tok> lex(const std::string& text) {
        src_ = text;
        FILE* f = fmemopen(src_.empty() ? nullptr : &src_[0], src_.size(), "r");
        if (src_.empty()) f = std::tmpfile();
        FILE* d = std::tmpfile();
        setDiagnosticStream(d);
        std::vector<Tok> out;
        {
            pnLexer lexer(f);
            for (int guard = 0; guard < 100000; ++guard) {
                lexer.getSym();
                out.push_back({lexer.sym, lexer.symText, lexer.symInt, lexer.symFloat});
                if (lexer.sym == SYM_EOF) break;
            }
        }
        std::fclose(f);
        setDiagnosticStream(nullptr);
        std::rewind(d);
        diag.clear();
        int c;
        while ((c = std::fgetc(d)) != EOF) diag += static_cast<char>(c);
        std::fclose(d);
        return out;
    }

    std::vector<int> syms(const std::string& text) {
        std::vector<int> s;
        for (const Tok& t : lex(text)) s.push_back(t.sym);
        return s;
    }

    std::string diag;
    std::string src_;
};

}  // namespace

TEST_F(LexerTest, ReservedWordsQuotedOrBareAndCaseMatters) {
    auto t = lex("scene \"scene\" \"Scene\" SCENE PLAY MS play viewpoint width volume");
    ASSERT_EQ(t.size(), 11u);
    EXPECT_EQ(t[0].sym, SYM_SCENE);
    EXPECT_EQ(t[1].sym, 127);
    EXPECT_EQ(t[1].text, "scene");
    EXPECT_EQ(t[2].sym, SYM_IDENT);
    EXPECT_EQ(t[2].text, "Scene");
    EXPECT_EQ(t[3].sym, SYM_SCENE_UC);
    EXPECT_EQ(t[4].sym, 168);
    EXPECT_EQ(t[5].sym, SYM_MS);
    EXPECT_EQ(t[6].sym, 114);
    EXPECT_EQ(t[7].sym, 159);
    EXPECT_EQ(t[8].sym, 166);
    EXPECT_EQ(t[9].sym, 164);
    EXPECT_EQ(t[10].sym, SYM_EOF);
    // Every table word maps to its own token and back.
    for (int tok = SYM_ALIGN; tok <= SYM_PLAY_UC; ++tok) {
        std::string name = symName(tok);
        if (tok == SYM_ENV_PANEL || tok == SYM_OBJECT_NAME || tok == SYM_ROT_AXIS || tok == SYM_ROT_DIRECTION ||
            tok == SYM_VIEWPOINT || tok == SYM_W_JUST || tok == SYM_WIDTH)
            continue;
        EXPECT_EQ(lookupRW(name.c_str()), tok) << name;
    }
    EXPECT_EQ(lookupRW("envPanel"), SYM_ENV_PANEL);
    EXPECT_EQ(lookupRW("zzz"), SYM_IDENT);
    EXPECT_EQ(lookupRW(""), SYM_IDENT);
}

TEST_F(LexerTest, NumbersSignsAndPoints) {
    auto t = lex("-12 -1.5 +7 .5 5. 3.25 1e5 - x");
    ASSERT_GE(t.size(), 11u);
    EXPECT_EQ(t[0].sym, SYM_INTEGER);
    EXPECT_EQ(t[0].i, -12);
    EXPECT_EQ(t[1].sym, SYM_FLOAT);
    EXPECT_DOUBLE_EQ(t[1].f, -1.5);
    EXPECT_EQ(t[2].sym, SYM_INTEGER);
    EXPECT_EQ(t[2].i, 7);
    EXPECT_EQ(t[3].sym, SYM_OTHER);  // the point
    EXPECT_EQ(t[4].sym, SYM_INTEGER);
    EXPECT_EQ(t[4].i, 5);
    EXPECT_EQ(t[5].sym, SYM_FLOAT);
    EXPECT_DOUBLE_EQ(t[5].f, 5.0);
    EXPECT_DOUBLE_EQ(t[6].f, 3.25);
    EXPECT_EQ(t[7].sym, SYM_INTEGER);  // 1e5 is 1, then the word e5
    EXPECT_EQ(t[7].i, 1);
    EXPECT_EQ(t[8].sym, SYM_IDENT);
    EXPECT_EQ(t[8].text, "e5");
    EXPECT_EQ(t[9].sym, SYM_INTEGER);  // a lone sign is 0
    EXPECT_EQ(t[9].i, 0);
    EXPECT_EQ(t[10].text, "x");
}

TEST_F(LexerTest, NumbersIgnoreTheUserLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    REQUIRE_GERMAN_LOCALE(LC_NUMERIC);
    auto t = lex("1.5");
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_DOUBLE_EQ(t[0].f, 1.5);
}

TEST_F(LexerTest, OverlongNumbersAreConsumedWhole) {
    std::string digits(100, '9');
    auto t = lex(digits + " " + digits + ".5 next");
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].sym, SYM_INTEGER);
    EXPECT_EQ(t[0].i, 2147483647);
    EXPECT_EQ(t[1].sym, SYM_FLOAT);
    EXPECT_GT(t[1].f, 1e60);
    EXPECT_EQ(t[2].text, "next");
}

// Decimals read as the C library reads them, to the last bit, short or long.
TEST_F(LexerTest, DecimalsReadExactly) {
    const std::vector<std::string> numbers = {
        "0.1", "0.3", "12.500000", "-7.125", "123456.789012", "0.30000000000000004", "9007199254740993.0",
        "4503599627370497.5", "1.0000000000000000000000001", "0000000000000000000000.1", "3.14159265358979323846",
        "-0.0", "1.7976931348623157"};
    std::string text;
    for (const std::string& n : numbers) text += n + " ";
    auto t = lex(text);
    ASSERT_EQ(t.size(), numbers.size() + 1);
    for (size_t i = 0; i < numbers.size(); ++i) {
        EXPECT_EQ(t[i].sym, SYM_FLOAT) << numbers[i];
        EXPECT_EQ(t[i].f, std::strtod(numbers[i].c_str(), nullptr)) << numbers[i];
        EXPECT_EQ(std::signbit(t[i].f), numbers[i][0] == '-') << numbers[i];
    }
}

// The file is read in blocks: every kind of token reads the same wherever a
// block ends inside it, an overlong word still gives one message.
TEST_F(LexerTest, TokensReadTheSameAcrossBlockEnds) {
    const std::string tail = "material /* a\n comment */ \"quoted\r\nname\" -123.456789 98765 word.with.points " +
                             std::string(300, 'w') + " " + std::string(80, '7') + ".25 // end\n}";
    const std::vector<Tok> expected = lex(tail);
    const std::string expectedDiag = diag;
    ASSERT_EQ(expected.size(), 9u);
    const size_t block = 64 * 1024;
    for (size_t pad = block - tail.size(); pad <= block; ++pad) {
        auto t = lex(std::string(pad, pad % 2 ? ' ' : '\n') + tail);
        ASSERT_EQ(t.size(), expected.size()) << pad;
        for (size_t i = 0; i < t.size(); ++i) {
            EXPECT_EQ(t[i].sym, expected[i].sym) << pad << " " << i;
            EXPECT_EQ(t[i].text, expected[i].text) << pad << " " << i;
            EXPECT_EQ(t[i].i, expected[i].i) << pad << " " << i;
            EXPECT_EQ(t[i].f, expected[i].f) << pad << " " << i;
        }
        EXPECT_EQ(diag, expectedDiag) << pad;
    }
}

TEST_F(LexerTest, CommentsAndSlashes) {
    EXPECT_EQ(syms("a/b"), (std::vector<int>{SYM_IDENT, SYM_IDENT, SYM_EOF}));
    auto t = lex("a/* x * y **/b");
    EXPECT_EQ(t[0].text, "a");
    EXPECT_EQ(t[1].text, "b");
    EXPECT_EQ(syms("{ // comment } \n }"), (std::vector<int>{SYM_LBRACE, SYM_RBRACE, SYM_EOF}));
    EXPECT_EQ(syms("( ) // last line without newline"), (std::vector<int>{SYM_LPAREN, SYM_RPAREN, SYM_EOF}));
    EXPECT_EQ(syms("x /* never closed"), (std::vector<int>{SYM_IDENT, SYM_EOF}));
    EXPECT_EQ(syms(""), (std::vector<int>{SYM_EOF}));
}

TEST_F(LexerTest, LongLinesAndStringsReadWhole) {
    std::string longLine = "    file\t\"" + std::string(140, 'p') + "\"\n";
    auto t = lex(longLine + "next");
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[1].text, std::string(140, 'p'));
    EXPECT_EQ(t[2].text, "next");

    std::string path = "/home/user/" + std::string(290, 'd') + ".tga";
    t = lex("\"" + path + "\"");
    EXPECT_EQ(t[0].text, path);
    EXPECT_EQ(diag, "");

    // Strings keep blanks, slashes and line breaks; CR LF becomes LF.
    t = lex("\"a // b\r\nc\"");
    EXPECT_EQ(t[0].text, "a // b\nc");
    t = lex("\"unterminated");
    EXPECT_EQ(t[0].sym, SYM_IDENT);
    EXPECT_EQ(t[0].text, "unterminated");
}

TEST_F(LexerTest, OverlongWordsAreCutWithOneMessage) {
    auto t = lex(std::string(300, 'w') + " tail");
    EXPECT_EQ(t[0].text, std::string(256, 'w'));
    EXPECT_EQ(t[1].text, "tail");
    EXPECT_EQ(diag, "TORVIS: [getSym] Identifier is too long; truncated\n\n");
}

TEST_F(LexerTest, WindowsLineEndsAndHighBytes) {
    auto t = lex("scene {\r\n\tname\t\"x\"\r\n}\r\n");
    EXPECT_EQ(t[0].sym, SYM_SCENE);
    EXPECT_EQ(t[1].sym, SYM_LBRACE);
    EXPECT_EQ(t[2].sym, SYM_NAME);
    EXPECT_EQ(t[3].text, "x");
    EXPECT_EQ(t[4].sym, SYM_RBRACE);
    EXPECT_EQ(t[5].sym, SYM_EOF);

    // Bytes of 128 and above outside strings are single "other" characters.
    EXPECT_EQ(syms("\xE9\xFF"), (std::vector<int>{SYM_OTHER, SYM_OTHER, SYM_EOF}));
    // Inside strings, text that is not UTF-8 is decoded from the legacy code page.
    t = lex("\"caf\xE9\" \"caf\xC3\xA9\"");
    EXPECT_EQ(t[0].text, "caf\xC3\xA9");
    EXPECT_EQ(t[1].text, "caf\xC3\xA9");
}

TEST_F(LexerTest, LastWordWithoutNewline) {
    auto t = lex("alpha\nomega");
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[1].text, "omega");
    EXPECT_EQ(t[2].sym, SYM_EOF);
}

TEST_F(LexerTest, GmatchAndSymNames) {
    lex("");
    std::string src = "{ }";
    FILE* f = fmemopen(&src[0], src.size(), "r");
    FILE* d = std::tmpfile();
    setDiagnosticStream(d);
    pnLexer lexer(f);
    lexer.getSym();
    EXPECT_EQ(lexer.gmatchSym(SYM_LPAREN), SYM_LBRACE);  // mismatch: stays
    EXPECT_EQ(lexer.gmatchSym(SYM_LBRACE), SYM_RBRACE);
    EXPECT_EQ(lexer.gmatchSym(SYM_RBRACE), SYM_EOF);
    EXPECT_EQ(lexer.getSym(), SYM_EOF);
    setDiagnosticStream(nullptr);
    std::rewind(d);
    char buf[128] = {};
    std::fread(buf, 1, sizeof buf - 1, d);
    std::fclose(d);
    std::fclose(f);
    EXPECT_STREQ(buf, "TORVIS: [gmatchSym] ncorrect script format\n\n");

    EXPECT_STREQ(symName(SYM_INTEGER), "integer");
    EXPECT_STREQ(symName(SYM_LBRACE), "{");
    EXPECT_STREQ(symName(SYM_ENV_PANEL), "endPanel");
    EXPECT_STREQ(symName(SYM_OBJECT_NAME), "objName");
    EXPECT_STREQ(symName(SYM_VIEWPOINT), "viewpt");
    EXPECT_STREQ(symName(SYM_W_JUST), "WJust");
    EXPECT_STREQ(symName(SYM_ANIM_SCALE), "animScale");
    EXPECT_STREQ(symName(SYM_OTHER), "unident");
    EXPECT_STREQ(symName(500), "unident");
}

TEST_F(LexerTest, ReservedWordTableChecksItsOrder) {
    FILE* d = std::tmpfile();
    setDiagnosticStream(d);
    initReservedWords();  // the real table: silent
    EXPECT_EQ(addRW("zzzz", 999), 0);  // full
    setDiagnosticStream(nullptr);
    std::rewind(d);
    char buf[256] = {};
    std::fread(buf, 1, sizeof buf - 1, d);
    std::fclose(d);
    EXPECT_STREQ(buf, "TORVIS: [addRW] Too Many Reserved Words!\n\n");
    initLexer();
}

// Each read has a lexer of its own: a read left in the middle of a line (or a
// comment) leaves nothing for the next, and outside a read the block readers
// see the end of input.
TEST_F(LexerTest, EachReadStartsAfresh) {
    std::string first = "walnut beech /* open comment", second = "gamma";
    FILE* a = fmemopen(&first[0], first.size(), "r");
    FILE* b = fmemopen(&second[0], second.size(), "r");
    {
        pnLexer lexer(a);
        EXPECT_EQ(lexer.getSym(), SYM_IDENT);
        EXPECT_EQ(lexer.symText, "walnut");
        pnLexer::Scope reading(lexer);
        EXPECT_EQ(static_cast<int>(sym), SYM_IDENT);
        EXPECT_EQ(getSym(), SYM_IDENT);  // the active lexer's next token
        EXPECT_EQ(lexer.symText, "beech");
    }
    EXPECT_EQ(pnLexer::active(), nullptr);
    EXPECT_EQ(static_cast<int>(sym), SYM_EOF);
    EXPECT_EQ(getSym(), SYM_EOF);
    pnLexer next(b);
    EXPECT_EQ(next.getSym(), SYM_IDENT);
    EXPECT_EQ(next.symText, "gamma");
    EXPECT_EQ(next.getSym(), SYM_EOF);
    EXPECT_EQ(next.scriptEof, 1);
    std::fclose(a);
    std::fclose(b);
}
