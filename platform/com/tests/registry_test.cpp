// The registry file: its text format, key operations and safe updates.
#include "com/registry.h"
#include "temp_registry.h"

#include <gtest/gtest.h>

#include <fstream>

using com::Registry;

TEST(Registry, TextRoundTripKeepsKeysValuesAndEscapes) {
    Registry r;
    r.set_value("CLSID\\{A}\\InprocServer32", "", "/lib/a \"quoted\" \\ path.so");
    r.set_value("CLSID\\{A}\\InprocServer32", "ThreadingModel", "Apartment");
    r.create_key("CLSID\\{A}\\Programmable");
    Registry back = Registry::parse(r.text());
    EXPECT_EQ(back.text(), r.text());
    EXPECT_EQ(back.value("clsid\\{a}\\inprocserver32"), "/lib/a \"quoted\" \\ path.so");  // case ignored
    EXPECT_EQ(back.value("CLSID\\{A}\\InprocServer32", "threadingmodel"), "Apartment");
    EXPECT_TRUE(back.has_key("CLSID\\{A}\\Programmable"));
    EXPECT_TRUE(back.has_key("CLSID"));  // parents exist
    EXPECT_FALSE(back.value("CLSID\\{A}\\Programmable"));  // a key without a default value
    EXPECT_FALSE(back.value("CLSID\\{B}"));
}

TEST(Registry, DeleteTreeRemovesOnlyTheKeyAndWhatIsBelowIt) {
    Registry r;
    r.set_value("CLSID\\{A}\\ProgID", "", "x");
    r.set_value("CLSID\\{A}X", "", "sibling with the same prefix");
    r.delete_tree("clsid\\{a}");
    EXPECT_FALSE(r.has_key("CLSID\\{A}"));
    EXPECT_FALSE(r.has_key("CLSID\\{A}\\ProgID"));
    EXPECT_TRUE(r.has_key("CLSID\\{A}X"));
    EXPECT_EQ(r.subkeys("CLSID"), std::vector<std::string>{"{A}X"});
}

TEST(Registry, MalformedTextIsRefusedWithItsLine) {
    const char* bad[] = {
        "@=\"value before any key\"\n",
        "[key]\nname=\"unquoted name\"\n",
        "[key]\n\"name\"=unquoted\n",
        "[key]\n\"name\"=\"unterminated\n",
        "[key]\n\"bad escape\"=\"\\n\"\n",
        "[key]\n@=\"a\" trailing\n",
        "[]\n",
        "[key\n",
    };
    for (const char* text : bad) EXPECT_THROW(Registry::parse(text), com::RegistryError) << text;
    try {
        Registry::parse("; comment\n\n[k]\n@=\"ok\"\nbroken\n");
        FAIL();
    } catch (const com::RegistryError& e) {
        EXPECT_STREQ(e.what(), "line 5: a value must be @=\"...\" or \"name\"=\"...\"");
    }
    Registry r;
    EXPECT_THROW(r.set_value("key", "name", "two\nlines"), com::RegistryError);
    EXPECT_THROW(r.set_value("", "", "no key"), com::RegistryError);
}

TEST(Registry, UpdateWritesTheFileNamedByComRegistry) {
    TempRegistry temp;
    EXPECT_EQ(Registry::file_path(), temp.path());
    EXPECT_EQ(Registry::load().text(), "");  // no file yet: an empty registry
    Registry::update([](Registry& r) { r.set_value("A", "", "1"); });
    Registry::update([](Registry& r) { r.set_value("B", "n", "2"); });
    std::ifstream in(temp.path());
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "[A]\n@=\"1\"\n[B]\n\"n\"=\"2\"\n");

    // A change that fails leaves the file as it was.
    EXPECT_THROW(Registry::update([](Registry& r) {
        r.set_value("C", "", "3");
        throw com::RegistryError("stop");
    }),
                 com::RegistryError);
    EXPECT_FALSE(Registry::load().has_key("C"));
}

TEST(Registry, UnreadableOrCorruptFileIsAnError) {
    TempRegistry temp;
    {
        std::ofstream out(temp.path());
        out << "[ok]\ngarbage\n";
    }
    EXPECT_THROW(Registry::load(), com::RegistryError);
    EXPECT_THROW(Registry::update([](Registry&) {}), com::RegistryError);
    std::ifstream in(temp.path());
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "[ok]\ngarbage\n");  // nothing lost
}

TEST(Registry, DefaultPathIsInTheUserDataFolder) {
    unsetenv("COM_REGISTRY");
    setenv("XDG_DATA_HOME", "/data/home", 1);
    EXPECT_EQ(Registry::file_path(), "/data/home/toolkit-com/registry");
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(Registry::file_path(), "/home/someone/.local/share/toolkit-com/registry");
}

TEST(Registry, DamagedTextEitherParsesOrIsRefused) {
    Registry r;
    r.set_value("CLSID\\{A}\\InprocServer32", "", "/lib/a \"b\" \\ c.so");
    r.set_value("CLSID\\{A}\\InprocServer32", "ThreadingModel", "Apartment");
    const std::string text = r.text();
    std::uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u; };
    int refused = 0;
    for (int round = 0; round < 2000; ++round) {
        std::string damaged = text.substr(0, next() % (text.size() + 1));  // cut short ...
        for (int flips = next() % 4; flips > 0 && !damaged.empty(); --flips)  // ... and a few bytes changed
            damaged[next() % damaged.size()] = static_cast<char>(next() >> 8);
        try {
            Registry back = Registry::parse(damaged);
            EXPECT_EQ(Registry::parse(back.text()).text(), back.text());  // what parses, round-trips
        } catch (const com::RegistryError&) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
}
