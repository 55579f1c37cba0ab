// comhost run as users run it: registration, scripts against the test module, printed values,
// errors, events and the exit status. The registry is a temporary file.
#include "host.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

namespace {

class Comhost : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "comhost-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        folder_ = pattern;
        setenv("COM_REGISTRY", (folder_ + "/registry").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("COM_REGISTRY");
        std::filesystem::remove_all(folder_);
    }

    // Runs comhost with the arguments (and the script on standard input); returns its output
    // (standard output and error together) and sets status to its exit status.
    std::string run(const std::string& args, const std::string& script = "") {
        std::string input = folder_ + "/script.txt";
        std::ofstream(input) << script;
        std::string command = std::string(COMHOST) + " " + args + " < " + input + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        std::string output;
        char buffer[4096];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
        int raw = pclose(pipe);
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        return output;
    }

    std::string folder_;
    int status = -1;
};

} // namespace

TEST_F(Comhost, ScriptsCallObjectsByNameAndPrintResults) {
    ASSERT_EQ(run("--register " TEST_MODULE), std::string(TEST_MODULE) + " registered in " + folder_ + "/registry\n");
    ASSERT_EQ(status, 0);
    std::string output = run("-", R"(Set c = CreateObject("ComTest.Counter")
c.Add 2
c.add(3)
Print c.Value
c.Name = "z)" "\xC3\xA4" R"(hler"
Print c.Name
c.Ratio = 0.1
Print c.Ratio
c.Ratio = 1e300
Print c.Ratio
Print c.Split(7)
Print c.Echo(Bytes("00A0ff"))
Print c.Echo(Bytes(""))
c.Mode = cmDown
Print c.Mode
c.Flag = True
Print c.Flag
Set d = c
d.Add 1
Print c.Value
Print "text", 3
)");
    // "Print "text", 3" is one value too many: a script error that the rest survives.
    EXPECT_EQ(output,
              "event c.Changed(2, )\n"
              "event c.Changed(5, )\n"
              "5\n"
              "z\xC3\xA4hler\n"
              "0.1\n"
              "1e+300\n"
              "3 4\n"
              "00a0ff\n"
              "\n"
              "1\n"
              "True\n"
              "event c.Changed(4, z\xC3\xA4hler)\n"
              "4\n"
              "comhost: line 21: unexpected ','\n");
    EXPECT_EQ(status, 1);
}

TEST_F(Comhost, FailingCallsPrintTheirErrorAndTheScriptGoesOn) {
    run("--register " TEST_MODULE);
    std::string output = run("", R"(Set c = CreateObject("ComTest.Counter")
c.Add -1
c.NoSuchMember
c.Add "many"
c.Add 1, 2
Print c.Value
Set x = CreateObject("No.Such.Class")
x.Add 1
c.Add unknownName
)");
    EXPECT_EQ(output,
              "error 0x80040201: Negative amount\n"
              "error 0x80020006: Unknown name\n"
              "error 0x80020005: Type mismatch\n"
              "error 0x8002000E: Invalid number of parameters\n"
              "0\n"
              "error 0x800401F3: Invalid class string\n"
              "comhost: line 8: unknown object 'x'\n"
              "comhost: line 9: unknown name 'unknownName'\n");
    EXPECT_EQ(status, 1);

    EXPECT_EQ(run("", "Set c = CreateObject(\"ComTest.Counter\")\nPrint c.Value\n"), "0\n");
    EXPECT_EQ(status, 0);
}

TEST_F(Comhost, RegistrationCommandsAndUsage) {
    run("--register " TEST_MODULE);
    std::string typelib = run("--typelib " TEST_MODULE);
    EXPECT_NE(typelib.find("coclass Counter {63AB35F3-1356-41DC-B522-E31EAEAF0AA1}"), std::string::npos) << typelib;
    EXPECT_EQ(run("--unregister " TEST_MODULE),
              std::string(TEST_MODULE) + " unregistered from " + folder_ + "/registry\n");
    EXPECT_EQ(run("", "Set c = CreateObject(\"ComTest.Counter\")\n"), "error 0x800401F3: Invalid class string\n");
    EXPECT_EQ(status, 1);

    run("--register /no/such/module.so");
    EXPECT_EQ(status, 1);
    run("--bogus");
    EXPECT_EQ(status, 2);
    EXPECT_EQ(run(folder_ + "/missing.txt"), "comhost: cannot read " + folder_ + "/missing.txt\n");
    EXPECT_EQ(status, 2);
}

TEST(FormatValue, PrintsEachTypeAsDocumented) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_R8;
    v.dblVal = 1.0 / 3;
    EXPECT_EQ(comhost::format_value(v), "0.3333333333333333");
    v.vt = VT_R4;
    v.fltVal = 0.1f;
    EXPECT_EQ(comhost::format_value(v), "0.1");
    v.vt = VT_BOOL;
    v.boolVal = VARIANT_FALSE;
    EXPECT_EQ(comhost::format_value(v), "False");
    v.vt = VT_I2;
    v.iVal = -7;
    EXPECT_EQ(comhost::format_value(v), "-7");
}
