// The script parser: each statement form, each value form, and the errors.
#include "script.h"

#include <gtest/gtest.h>

using comhost::parse_statement;
using comhost::Statement;
using comhost::Value;

TEST(ScriptParser, StatementForms) {
    auto create = parse_statement("Set img = CreateObject(\"VrnImagingCom2.vrnImaging2\")  ' comment");
    ASSERT_TRUE(create.statement) << create.error;
    EXPECT_EQ(create.statement->kind, Statement::Create);
    EXPECT_EQ(create.statement->target, "img");
    EXPECT_EQ(create.statement->prog_id, "VrnImagingCom2.vrnImaging2");

    auto invoke = parse_statement("img.CreateImage 640, 480, 8, icRGB");
    ASSERT_TRUE(invoke.statement) << invoke.error;
    EXPECT_EQ(invoke.statement->kind, Statement::Invoke);
    EXPECT_EQ(invoke.statement->call.member, "CreateImage");
    ASSERT_EQ(invoke.statement->call.args.size(), 4u);
    EXPECT_EQ(invoke.statement->call.args[3].kind, Value::Name);
    EXPECT_EQ(invoke.statement->call.args[3].text, "icRGB");

    auto parens = parse_statement("img.Rotate(-90.5, iiNearest)");
    ASSERT_TRUE(parens.statement) << parens.error;
    EXPECT_EQ(parens.statement->call.args[0].kind, Value::Real);
    EXPECT_EQ(parens.statement->call.args[0].real, -90.5);

    auto put = parse_statement("img.Compression = 5");
    ASSERT_TRUE(put.statement);
    EXPECT_EQ(put.statement->kind, Statement::Put);
    EXPECT_EQ(put.statement->call.args[0].integer, 5);

    auto print = parse_statement("print img._x");
    ASSERT_TRUE(print.statement) << print.error;
    EXPECT_EQ(print.statement->kind, Statement::Print);
    EXPECT_TRUE(print.statement->is_call);
    EXPECT_EQ(print.statement->call.member, "_x");

    auto assign = parse_statement("Set b = a");
    ASSERT_TRUE(assign.statement);
    EXPECT_EQ(assign.statement->kind, Statement::Assign);
    EXPECT_FALSE(assign.statement->is_call);

    for (const char* blank : {"", "   ", "' only a comment"})
        EXPECT_EQ(parse_statement(blank).statement->kind, Statement::Empty);
}

TEST(ScriptParser, ValueForms) {
    auto s = parse_statement("o.M 12, -3, 1.5e3, \"say \"\"hi\"\"\", True, false, Nothing, Bytes(\"0aFF\"), Bytes(\"\")");
    ASSERT_TRUE(s.statement) << s.error;
    const auto& a = s.statement->call.args;
    ASSERT_EQ(a.size(), 9u);
    EXPECT_EQ(a[0].integer, 12);
    EXPECT_EQ(a[1].integer, -3);
    EXPECT_EQ(a[2].real, 1500.0);
    EXPECT_EQ(a[3].text, "say \"hi\"");
    EXPECT_TRUE(a[4].boolean);
    EXPECT_EQ(a[5].kind, Value::Boolean);
    EXPECT_FALSE(a[5].boolean);
    EXPECT_EQ(a[6].kind, Value::Nothing);
    EXPECT_EQ(a[7].bytes, (std::vector<std::uint8_t>{0x0a, 0xff}));
    EXPECT_EQ(a[8].kind, Value::Bytes);
    EXPECT_TRUE(a[8].bytes.empty());
}

TEST(ScriptParser, ErrorsAreDescribed) {
    struct Case {
        const char* line;
        const char* error;
    } cases[] = {
        {"Set = CreateObject(\"x\")", "a name after Set expected"},
        {"Set a CreateObject(\"x\")", "'=' expected"},
        {"Set a = CreateObject(x)", "CreateObject needs a quoted class name"},
        {"img", "'.' expected"},
        {"img.", "a member name after '.' expected"},
        {"img.M 1,", "a value expected"},
        {"img.M(1", "')' expected"},
        {"img.M 1 2", "unexpected '2'"},
        {"img.M \"open", "unterminated string"},
        {"img.M Bytes(\"abc\")", "Bytes needs an even number of hex digits"},
        {"img.M Bytes(\"zz\")", "Bytes needs hex digits 0-9, a-f"},
        {"img.M 12abc", "bad number '12abc'"},
        {"img.M - x", "a number expected after '-'"},
        {"img.M #", "unexpected character '#'"},
        {"Print", "a value expected"},
    };
    for (const Case& c : cases) {
        auto r = parse_statement(c.line);
        EXPECT_FALSE(r.statement) << c.line;
        EXPECT_EQ(r.error, c.error) << c.line;
    }
}
