// Temporary and text lexicons: the file format, editing through QLEX_ calls, safe write-back,
// and several writers on one file.
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <set>

#include "file_replace.h"
#include "memory_lexicon.h"
#include "text_lexicon_format.h"
#include "test_support.h"

using namespace orthix_test;

namespace {

class TextLexiconTest : public ::testing::Test {
protected:
    // Opens a lexicon file of the given content in the session.
    int16_t openWith(const std::string& name, const std::string& content) {
        writeFile(dir.file(name), content);
        return QLEX_OpenLex(s.sid, dir.file(name).c_str(), 0);
    }
    std::vector<std::string> listed(int16_t lex) {
        int32_t size = 0;
        EXPECT_EQ(QLEX_GetLexInfo(s.sid, lex, &size, nullptr, nullptr), 0);
        std::string buffer(static_cast<std::size_t>(size), '\x7F');
        int32_t count = QLEX_GetLex(s.sid, lex, buffer.data(), size);
        std::vector<std::string> out;
        for (std::size_t at = 0; count > 0 && buffer[at]; at += out.back().size() + 1)
            out.emplace_back(buffer.c_str() + at);
        EXPECT_EQ(static_cast<int32_t>(out.size()), count);
        return out;
    }

    ScratchDir dir;
    SessionGuard s;
};

std::string words(const std::vector<orthix::LexEntry>& entries) {
    std::string out;
    for (const auto& e : entries)
        out += e.word + "/" + e.action + e.other + " ";
    return out;
}

} // namespace

TEST(TextLexiconFormat, ParsesHeadersLineEndsAndEntries) {
    struct Case {
        std::string file;
        bool header;
        int16_t language;
        std::string entries;
    } cases[] = {
        {"#LID 1033\r\nteh\tathe\r\nword\r\n", true, 24941, "teh/athe word/i "},
        {"#LID 24941\nteh\tathe\nword", true, 24941, "teh/athe word/i "},  // LF ends, last line unended
        {"apple\nbanana\r\ncherry", false, 30840, "apple/i banana/i cherry/i "},
        {"", false, 30840, ""},
        {"# a comment only\r\n", true, 30840, ""},
        {"#LID 26226\r\n\r\n# note\r\nx\t\r\n", true, 26226, "x/i "},  // TAB at the end: action i
        {"#LID -5\r\nlone\rcr\r\n", true, -5, "lone\rcr/i "},           // a lone CR is no line end
    };
    for (const Case& c : cases) {
        auto parsed = orthix::parseTextLexicon(c.file);
        EXPECT_EQ(parsed.hasHeader, c.header) << c.file;
        EXPECT_EQ(parsed.language, c.language) << c.file;
        EXPECT_EQ(words(parsed.entries), c.entries) << c.file;
    }
}

TEST(TextLexiconFormat, LongLinesAreReadWholeAndWordsCutTo63) {
    std::string word(200, 'w'), other(100, 'o');
    auto parsed = orthix::parseTextLexicon(word + "\t" + "a" + other + "\r\nnext\r\n");
    ASSERT_EQ(parsed.entries.size(), 2u);
    EXPECT_EQ(parsed.entries[0].word, std::string(63, 'w'));
    EXPECT_EQ(parsed.entries[0].other, std::string(63, 'o'));
    EXPECT_EQ(parsed.entries[1].word, "next");  // no spill-over line from the long one
}

TEST_F(TextLexiconTest, PlainWordListStaysPlainAndKeepsActionsItCannotShowBare) {
    int16_t lex = openWith("plain.tlx", "banana\napple\n");
    ASSERT_GE(lex, 0);
    int16_t lang = 0, format = 0;
    EXPECT_EQ(QLEX_GetLexInfo(s.sid, lex, nullptr, &format, &lang), 0);
    EXPECT_EQ(lang, 30840);
    EXPECT_EQ(format, 1);
    EXPECT_EQ(QLEX_AddToLex(s.sid, lex, "cherry", 'i', nullptr), 0);
    EXPECT_EQ(readFile(dir.file("plain.tlx")), "apple\r\nbanana\r\ncherry\r\n");
    // A change entry written bare would turn a misspelling into a correct word on the next open.
    EXPECT_EQ(QLEX_AddToLex(s.sid, lex, "teh", 'a', "the"), 0);
    EXPECT_EQ(readFile(dir.file("plain.tlx")), "apple\r\nbanana\r\ncherry\r\nteh\tathe\r\n");
}

TEST_F(TextLexiconTest, EditsAreWrittenBackAndSurviveReopening) {
    int16_t lex = QLEX_CreateLex(s.sid, dir.file("user.tlx").c_str(), 24941);
    ASSERT_GE(lex, 0);
    EXPECT_EQ(readFile(dir.file("user.tlx")), "#LID 24941\r\n");
    std::string longWord(63, 'l'), longOther(63, 'm');
    EXPECT_EQ(QLEX_AddToLex(s.sid, lex, "teh", 'i', nullptr), 0);
    EXPECT_EQ(QLEX_AddToLex(s.sid, lex, "teh", 'a', "the"), 0);  // replaces, no second entry
    EXPECT_EQ(QLEX_AddToLex(s.sid, lex, longWord.c_str(), 'C', longOther.c_str()), 0);
    EXPECT_EQ(QLEX_AddToLex(s.sid, lex, "dog's", 'i', nullptr), 0);  // stored as dog
    EXPECT_EQ(QLEX_AddToLex(s.sid, lex, "gone", 'e', nullptr), 0);
    EXPECT_EQ(QLEX_DelFromLex(s.sid, lex, "gone"), 0);
    EXPECT_EQ(readFile(dir.file("user.tlx")),
              "#LID 24941\r\ndog\ti\r\n" + longWord + "\tC" + longOther + "\r\nteh\tathe\r\n");

    SessionGuard other;
    int16_t again = QLEX_OpenLex(other.sid, dir.file("user.tlx").c_str(), 0);
    ASSERT_GE(again, 0);
    char buffer[64];
    EXPECT_EQ(QLEX_FindLexWord(other.sid, again, longWord.c_str(), buffer, sizeof buffer), 'C');
    EXPECT_EQ(buffer, longOther);
    EXPECT_EQ(QLEX_FindLexWord(other.sid, again, "TEH", buffer, sizeof buffer), QLEX_ERR_NOT_FOUND);
    QLEX_SetOption(other.sid, QLEX_OPT_CASE_SENSITIVE, 0);
    EXPECT_EQ(QLEX_FindLexWord(other.sid, again, "TEH", buffer, sizeof buffer), 'a');
    EXPECT_STREQ(buffer, "the");
    EXPECT_EQ(QLEX_FindLexWord(other.sid, again, "dog's", buffer, sizeof buffer), 'i');
}

TEST_F(TextLexiconTest, ListingNeedsExactlyTheReportedSize) {
    int16_t lex = QLEX_CreateLex(s.sid, nullptr, 24941);
    QLEX_AddToLex(s.sid, lex, "b", 'i', nullptr);
    QLEX_AddToLex(s.sid, lex, "a", 'c', "x");
    int32_t size = 0;
    ASSERT_EQ(QLEX_GetLexInfo(s.sid, lex, &size, nullptr, nullptr), 0);
    EXPECT_EQ(size, 1 + 5 + 4);
    std::string buffer(static_cast<std::size_t>(size), '#');
    EXPECT_EQ(QLEX_GetLex(s.sid, lex, buffer.data(), size - 1), QLEX_ERR_BUFFER_TOO_SMALL);
    EXPECT_EQ(QLEX_GetLex(s.sid, lex, buffer.data(), size), 2);
    EXPECT_EQ(buffer, std::string("a\tcx\0b\ti\0\0", 10));
    EXPECT_EQ(listed(lex), (std::vector<std::string>{"a\tcx", "b\ti"}));
    EXPECT_EQ(QLEX_ClearLex(s.sid, lex), 0);
    EXPECT_EQ(QLEX_GetLex(s.sid, lex, buffer.data(), size), 0);
}

TEST_F(TextLexiconTest, FailuresLeaveFilesAlone) {
    writeFile(dir.file("taken.tlx"), "keep me\n");
    EXPECT_EQ(QLEX_CreateLex(s.sid, dir.file("taken.tlx").c_str(), 24941), QLEX_ERR_EXISTS);
    EXPECT_EQ(readFile(dir.file("taken.tlx")), "keep me\n");

    int16_t lex = QLEX_OpenLex(s.sid, dir.file("taken.tlx").c_str(), 0);
    struct stat before, after;
    stat(dir.file("taken.tlx").c_str(), &before);
    EXPECT_EQ(QLEX_DelFromLex(s.sid, lex, "absent"), QLEX_ERR_NOT_FOUND);
    stat(dir.file("taken.tlx").c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino);  // not rewritten

    EXPECT_EQ(QLEX_OpenLex(s.sid, dir.file("missing.tlx").c_str(), 0), QLEX_ERR_FILE_OPEN);
    EXPECT_EQ(QLEX_OpenLex(s.sid, dir.path().c_str(), 0), QLEX_ERR_FILE_OPEN);
    EXPECT_EQ(QLEX_CreateLex(s.sid, dir.file("no/such/dir.tlx").c_str(), 24941), QLEX_ERR_CREATE);
}

TEST_F(TextLexiconTest, EntriesTheFileCannotHoldAreRefusedNotCorrupted) {
    int16_t lex = QLEX_CreateLex(s.sid, dir.file("strict.tlx").c_str(), 24941);
    ASSERT_GE(lex, 0);
    EXPECT_EQ(QLEX_AddToLex(s.sid, lex, "two\twords", 'i', nullptr), QLEX_ERR_UNSUPPORTED);  // would read back as "two"
    EXPECT_EQ(QLEX_AddToLex(s.sid, lex, "#tag", 'i', nullptr), QLEX_ERR_UNSUPPORTED);         // would read back as a comment
    EXPECT_EQ(QLEX_AddToLex(s.sid, lex, "line", 'a', "one\ntwo"), QLEX_ERR_UNSUPPORTED);     // would split the line
    EXPECT_EQ(QLEX_FindLexWord(s.sid, lex, "#tag", nullptr, 0), QLEX_ERR_NOT_FOUND);
    EXPECT_EQ(readFile(dir.file("strict.tlx")), "#LID 24941\r\n");
    int16_t temporary = QLEX_CreateLex(s.sid, nullptr, 24941);  // memory holds anything
    EXPECT_EQ(QLEX_AddToLex(s.sid, temporary, "#tag", 'i', nullptr), 0);
}

TEST_F(TextLexiconTest, LexiconWithAFileNameNearTheLengthLimitIsWrittenBack) {
    std::string path = dir.file(std::string(250, 'n') + ".tlx");
    int16_t lex = QLEX_CreateLex(s.sid, path.c_str(), 24941);
    ASSERT_GE(lex, 0);
    EXPECT_EQ(QLEX_AddToLex(s.sid, lex, "word", 'i', nullptr), 0);
    EXPECT_EQ(readFile(path), "#LID 24941\r\nword\ti\r\n");
}

TEST_F(TextLexiconTest, FormatIsDecidedFromTheContent) {
    std::string family(260, 'x');
    family.replace(256, 4, std::string("\x03\x00\x00\x57", 4));  // 0x57000003, little-endian
    EXPECT_EQ(openWith("family.lex", family), QLEX_ERR_UNSUPPORTED);
    family.replace(256, 4, std::string("\x07\x00\x00\x57", 4));  // outside the refused tags
    EXPECT_GE(openWith("text1.tlx", family), 0);
    EXPECT_GE(openWith("short.tlx", std::string("\x03\x00\x00\x57", 4)), 0);  // under 260 bytes: text
}

TEST_F(TextLexiconTest, SymbolicLinkStaysALinkAfterWriteBack) {
    writeFile(dir.file("real.tlx"), "#LID 24941\r\n");
    ASSERT_EQ(symlink(dir.file("real.tlx").c_str(), dir.file("link.tlx").c_str()), 0);
    int16_t lex = QLEX_OpenLex(s.sid, dir.file("link.tlx").c_str(), 0);
    ASSERT_EQ(QLEX_AddToLex(s.sid, lex, "word", 'i', nullptr), 0);
    struct stat st;
    ASSERT_EQ(lstat(dir.file("link.tlx").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readFile(dir.file("real.tlx")), "#LID 24941\r\nword\ti\r\n");
}

namespace {

// Makes the n-th call of one system call of the write-back fail.
struct Fault {
    enum Op { Write, Fsync, Close, Rename } op;
    int failAt;
};
Fault fault;
int calls;
bool failNow(Fault::Op op) { return op == fault.op && ++calls == fault.failAt; }
ssize_t faultyWrite(int fd, const void* d, size_t n) {
    if (failNow(Fault::Write)) { errno = ENOSPC; return -1; }
    return ::write(fd, d, n);
}
int faultyFsync(int fd) {
    if (failNow(Fault::Fsync)) { errno = EIO; return -1; }
    return ::fsync(fd);
}
int faultyClose(int fd) {
    if (failNow(Fault::Close)) { ::close(fd); errno = EIO; return -1; }
    return ::close(fd);
}
int faultyRename(const char* a, const char* b) {
    if (failNow(Fault::Rename)) { errno = EXDEV; return -1; }
    return ::rename(a, b);
}

} // namespace

TEST_F(TextLexiconTest, AFailedWriteBackLeavesTheOldFileAndTheOldMemory) {
    const std::string path = dir.file("safe.tlx");
    const std::string original = "#LID 24941\r\nkeep\ti\r\nteh\tathe\r\n";
    orthix::FileOps real = orthix::fileOps();
    for (Fault::Op op : {Fault::Write, Fault::Fsync, Fault::Close, Fault::Rename}) {
        SCOPED_TRACE(op);
        writeFile(path, original);
        int16_t lex = QLEX_OpenLex(s.sid, path.c_str(), 0);
        ASSERT_GE(lex, 0);
        fault = {op, 1};
        calls = 0;
        orthix::fileOps() = {faultyWrite, faultyFsync, faultyClose, faultyRename};
        int16_t added = QLEX_AddToLex(s.sid, lex, "new", 'i', nullptr);
        int16_t replaced = QLEX_AddToLex(s.sid, lex, "teh", 'c', "tea");
        int16_t deleted = QLEX_DelFromLex(s.sid, lex, "keep");
        int16_t cleared = QLEX_ClearLex(s.sid, lex);
        orthix::fileOps() = real;

        // Exactly the first write-back failed; the others went through.
        EXPECT_EQ(added, QLEX_ERR_WRITE);
        EXPECT_EQ(replaced, 0);
        EXPECT_EQ(deleted, 0);
        EXPECT_EQ(cleared, 0);
        EXPECT_EQ(readFile(path), "#LID 24941\r\n");
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            EXPECT_EQ(entry.path().filename().string().find(".qlex."), std::string::npos) << "temporary left";
        QLEX_CloseLex(s.sid, lex);
    }
    // A failure at each step of each kind of change: the file is the complete old content and
    // memory is as before the change.
    for (Fault::Op op : {Fault::Write, Fault::Fsync, Fault::Close, Fault::Rename}) {
        SCOPED_TRACE(op);
        writeFile(path, original);
        int16_t lex = QLEX_OpenLex(s.sid, path.c_str(), 0);
        orthix::fileOps() = {faultyWrite, faultyFsync, faultyClose, faultyRename};
        char other[64];
        fault = {op, 1}, calls = 0;
        EXPECT_EQ(QLEX_AddToLex(s.sid, lex, "teh", 'e', nullptr), QLEX_ERR_WRITE);
        fault = {op, 1}, calls = 0;
        EXPECT_EQ(QLEX_DelFromLex(s.sid, lex, "keep"), QLEX_ERR_WRITE);
        fault = {op, 1}, calls = 0;
        EXPECT_EQ(QLEX_ClearLex(s.sid, lex), QLEX_ERR_WRITE);
        orthix::fileOps() = real;
        EXPECT_EQ(readFile(path), original);
        EXPECT_EQ(QLEX_FindLexWord(s.sid, lex, "teh", other, sizeof other), 'a');
        EXPECT_STREQ(other, "the");
        EXPECT_EQ(QLEX_FindLexWord(s.sid, lex, "keep", other, sizeof other), 'i');
        QLEX_CloseLex(s.sid, lex);
    }
}

TEST_F(TextLexiconTest, ChangesOfAnotherWriterAreMergedBeforeWriting) {
    const std::string path = dir.file("shared.tlx");
    writeFile(path, "#LID 24941\r\nbase\ti\r\n");
    SessionGuard other;
    int16_t mine = QLEX_OpenLex(s.sid, path.c_str(), 0);
    int16_t theirs = QLEX_OpenLex(other.sid, path.c_str(), 0);
    // Both changes land within the same clock tick; the file stamp still tells them apart.
    ASSERT_EQ(QLEX_AddToLex(s.sid, mine, "alpha", 'i', nullptr), 0);
    ASSERT_EQ(QLEX_AddToLex(other.sid, theirs, "beta", 'i', nullptr), 0);
    ASSERT_EQ(QLEX_AddToLex(s.sid, mine, "gamma", 'i', nullptr), 0);
    EXPECT_EQ(readFile(path), "#LID 24941\r\nalpha\ti\r\nbase\ti\r\nbeta\ti\r\ngamma\ti\r\n");
    EXPECT_EQ(QLEX_FindLexWord(s.sid, mine, "beta", nullptr, 0), 'i');
}

TEST_F(TextLexiconTest, TwoProcessesAddingToOneFileKeepAllTheirWords) {
    const std::string path = dir.file("busy.tlx");
    constexpr int kRounds = 3, kWords = 60;
    for (int round = 0; round < kRounds; ++round) {
        writeFile(path, "#LID 24941\r\n");
        pid_t children[2];
        for (int c = 0; c < 2; ++c) {
            children[c] = fork();
            if (children[c] == 0) {
                int16_t sid = QLEX_OpenSession();
                int16_t lex = QLEX_OpenLex(sid, path.c_str(), 0);
                int failures = lex < 0;
                for (int i = 0; i < kWords && lex >= 0; ++i) {
                    std::string word = "p" + std::to_string(c) + "w" + std::to_string(i);
                    failures += QLEX_AddToLex(sid, lex, word.c_str(), 'i', nullptr) != 0;
                }
                _exit(failures);
            }
        }
        for (pid_t child : children) {
            int status = 0;
            waitpid(child, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        auto parsed = orthix::parseTextLexicon(readFile(path));
        std::set<std::string> found;
        for (const auto& e : parsed.entries)
            found.insert(e.word);
        EXPECT_EQ(found.size(), 2u * kWords) << "round " << round;
        EXPECT_EQ(parsed.entries.size(), 2u * kWords);
    }
}

namespace {

// Records what a suggestion walk offers and removes, in order.
class RecordingSink : public orthix::SuggestionSink {
public:
    void offer(const char* word, int16_t score) override { log += "+" + std::string(word) + ":" + std::to_string(score) + " "; }
    void remove(const char* word) override { log += "-" + std::string(word) + " "; }
    std::string log;
};

int sameFirstLetter(const char* misspelled, const char* candidate) { return misspelled[0] == candidate[0] ? 60 : 0; }

} // namespace

TEST(EditableLexiconWalk, OffersCorrectWordsRemovesExcludedOnesAndProposesChangesOfTheWord) {
    orthix::MemoryLexicon lex(24941);
    lex.add("tea", 'i', nullptr);
    lex.add("ten", 'e', nullptr);
    lex.add("teh", 'a', "the");
    lex.add("tha", 'c', "that");  // a change entry for another word proposes nothing
    lex.add("zoo", 'i', nullptr);  // scores 0: not offered
    RecordingSink sink;
    EXPECT_EQ(lex.walk("teh", 50, sameFirstLetter, sink), 0);
    EXPECT_EQ(sink.log, "+tea:60 -the +the:99 -ten ");
}
