// The qlex tool run end to end: create, add, list, check and delete on a real lexicon file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct ToolRun {
    int status;
    std::string out;
};

// Runs qlex with the arguments (a shell-quoted string), capturing standard output.
ToolRun qlex(const std::string& args) {
    std::string command = std::string(QLEX_TOOL) + " " + args + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    ToolRun run{-1, {}};
    char chunk[256];
    while (size_t n = fread(chunk, 1, sizeof chunk, pipe))
        run.out.append(chunk, n);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class QlexTool : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (std::filesystem::temp_directory_path() / "qlex_tool_XXXXXX").string();
        dir = mkdtemp(tmpl.data());
        lex = dir + "/user.tlx";
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string dir, lex;
};

} // namespace

TEST_F(QlexTool, EditsAndChecksThroughTheEngine) {
    EXPECT_EQ(qlex("create " + lex).status, 0);
    EXPECT_EQ(qlex("create " + lex).status, 2);  // exists already
    EXPECT_EQ(qlex("add " + lex + " colour").status, 0);
    EXPECT_EQ(qlex("add " + lex + " teh a the").status, 0);
    EXPECT_EQ(qlex("add " + lex + " caf\xC3\xA9").status, 0);  // UTF-8 in, Windows-1252 in the file
    EXPECT_EQ(qlex("add " + lex + " word x").status, 2);       // unknown action
    EXPECT_EQ(readFile(lex), "#LID 24941\r\ncaf\xE9\ti\r\ncolour\ti\r\nteh\tathe\r\n");

    ToolRun list = qlex("list " + lex);
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "caf\xC3\xA9\ti\ncolour\ti\nteh\ta\tthe\n");

    ToolRun check = qlex("check -l " + lex + " colour Colour teh caf\xC3\xA9 colr");
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(check.out, "colour: correct\nColour: correct\nteh: auto change -> the\n"
                         "caf\xC3\xA9: correct\ncolr: misspelled\n");

    EXPECT_EQ(qlex("check -l " + lex + " -o -CASE_SENSITIVE,+CATCH_MIXED_CASE_WORDS coLour").out,
              "coLour: mixed case -> colour\n");
    EXPECT_EQ(qlex("check -l " + lex + " -o +bogus colour").status, 2);
    EXPECT_EQ(qlex("check -l " + lex + " colour").status, 0);

    EXPECT_EQ(qlex("del " + lex + " colour").status, 0);
    EXPECT_EQ(qlex("del " + lex + " colour").status, 2);
    EXPECT_EQ(qlex("check -l " + lex + " colour").out, "colour: misspelled\n");
    EXPECT_EQ(qlex("check -l " + dir + "/missing.tlx word").status, 2);
    EXPECT_EQ(qlex("frobnicate").status, 2);
}

#ifdef QLEX_DEFAULT_DICTIONARIES
TEST_F(QlexTool, CheckWithoutLexiconsUsesTheDefaultDictionariesBesideTheLibrary) {
    // Paris is in qlexam2.clx, webpage in qlexam.tlx, teh and recieve in correct.tlx.
    ToolRun run = qlex("check Paris webpage teh recieve xqzzy");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Paris: correct\nwebpage: correct\nteh: auto change -> the\n"
                       "recieve: auto change -> receive\nxqzzy: misspelled\n");
    // A lexicon named with -l replaces them.
    ASSERT_EQ(qlex("create " + lex).status, 0);
    EXPECT_EQ(qlex("check -l " + lex + " Paris").out, "Paris: misspelled\n");
}
#endif
