// Settings in real ini files and in the (Wine prefix's) registry.

#include "services/ini_registry.h"

#include <gtest/gtest.h>

#include <string>

#include "recorded_reports.h"

namespace {

std::string Read(const char* store, const char* section, const char* key)
{
    return std::string(ReadIniString(store, section, key).View());
}

class IniFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        file_ = std::string(temp) + "glyphmill_" + std::to_string(GetCurrentProcessId()) + ".ini";
        RecordReports(1);
    }
    void TearDown() override
    {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, file_.c_str());  // flush
        DeleteFileA(file_.c_str());
    }
    std::string file_;
};

class Registry : public ::testing::Test {
protected:
    void SetUp() override
    {
        section_ = "Software\\GlyphmillTest\\" + std::to_string(GetCurrentProcessId());
        RecordReports(1);
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\GlyphmillTest"); }

    HKEY OpenSection() const
    {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, section_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        return key;
    }
    std::string section_;
};

}  // namespace

TEST_F(IniFiles, RoundTripAndMissingValues)
{
    const char* ini = file_.c_str();
    EXPECT_EQ(Read(ini, "folders", "load"), "");  // no file yet
    WriteIniString(ini, "folders", "load", "C:\\Bilder\\Quellgrafiken");
    WriteIniString(ini, "folders", "save1", "");
    EXPECT_EQ(Read(ini, "folders", "load"), "C:\\Bilder\\Quellgrafiken");
    EXPECT_EQ(Read(ini, "folders", "save1"), "");
    EXPECT_EQ(Read(ini, "folders", "save2"), "");
    EXPECT_EQ(Read(ini, "other", "load"), "");
    EXPECT_TRUE(Recorded.empty());
}

TEST_F(IniFiles, LongValuesReadBackAsTheirFirst255Characters)
{
    std::string value;
    for (int i = 0; i < 300; ++i)
        value += static_cast<char>('a' + i % 26);
    WriteIniString(file_.c_str(), "s", "k", value.c_str());
    EXPECT_EQ(Read(file_.c_str(), "s", "k"), value.substr(0, 255));
}

TEST_F(IniFiles, AFailedWriteWarns303WithTheFileName)
{
    std::string bad = file_ + "\\cannot\\be.ini";  // below a file, not a folder
    WriteIniString(file_.c_str(), "s", "k", "v");
    WriteIniString(bad.c_str(), "s", "k", "v");
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, bad.c_str());
    ASSERT_EQ(Recorded.size(), 1u);
    EXPECT_EQ(Recorded[0].title, "Fehler beim Schreiben: " + bad);
    EXPECT_FALSE(Recorded[0].fatal);
}

TEST(RegistryRoots, HkeyAndADigitInAnyCaseSelectThePredefinedRoot)
{
    struct Case {
        const char* store;
        HKEY root;
    };
    const Case cases[] = {
        {"HKEY_0", HKEY_CLASSES_ROOT},
        {"hkey_1", HKEY_CURRENT_USER},
        {"HKEY_1_anything", HKEY_CURRENT_USER},
        {"Hkey_2", HKEY_LOCAL_MACHINE},
        {"HKEY_3", HKEY_USERS},
        {"HKEY_4", HKEY_PERFORMANCE_DATA},
        {"HKEY_5", HKEY_CURRENT_CONFIG},
        {"HKEY_6", HKEY_DYN_DATA},
        {"HKEY_7", nullptr},
        {"HKEY_", nullptr},
        {"HKEY_X", nullptr},
        {"HKEY", nullptr},
        {"glyphmill.ini", nullptr},
        {"HKEY_CURRENT_USER", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RegistryRootFromName(c.store), c.root) << c.store;
}

TEST_F(Registry, RoundTripStoresRegSzWithItsTerminatingZero)
{
    const char* section = section_.c_str();
    WriteIniString("hkey_1", section, "load", "C:\\Bilder");
    WriteIniString("HKEY_1_anything", section, "empty", "");
    EXPECT_EQ(Read("HKEY_1", section, "load"), "C:\\Bilder");
    EXPECT_EQ(Read("hkey_1", section, "empty"), "");
    EXPECT_TRUE(Recorded.empty());

    HKEY key = OpenSection();
    DWORD type = 0;
    BYTE data[32] = {};
    DWORD size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(key, "load", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 10u);  // 9 characters and the zero
    size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(key, "empty", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 1u);
    EXPECT_EQ(data[0], 0);
    RegCloseKey(key);
}

TEST_F(Registry, OtherTypesReadAsTextUpToTheFirstZero)
{
    HKEY key = OpenSection();
    DWORD number = 0x00434241;  // "ABC" and a zero byte, little-endian
    RegSetValueExA(key, "dword", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    const BYTE binary[4] = {'x', 'y', 'z', 'w'};  // no zero at all
    RegSetValueExA(key, "binary", 0, REG_BINARY, binary, sizeof binary);
    std::string full(256, 'q');  // exactly fills the buffer, no terminator
    RegSetValueExA(key, "full", 0, REG_BINARY, reinterpret_cast<const BYTE*>(full.data()), 256);
    RegCloseKey(key);
    EXPECT_EQ(Read("HKEY_1", section_.c_str(), "dword"), "ABC");
    EXPECT_EQ(Read("HKEY_1", section_.c_str(), "binary"), "xyzw");
    EXPECT_EQ(Read("HKEY_1", section_.c_str(), "full"), full);
    EXPECT_TRUE(Recorded.empty());
}

TEST_F(Registry, FailuresWarn305WithTheirSentenceAndGiveNothing)
{
    const char* section = section_.c_str();
    WriteIniString("HKEY_1", section, "long", std::string(299, 'x').c_str());  // 300 bytes with the zero
    EXPECT_EQ(Read("HKEY_1", section, "long"), "");
    EXPECT_EQ(Read("HKEY_1", section, "missing"), "");
    EXPECT_EQ(Read("HKEY_1", "Software\\GlyphmillTest\\no such key", "load"), "");
    WriteIniString("HKEY_9", section, "load", "x");
    EXPECT_EQ(Read("HKEY_9", section, "load"), "");

    const std::string q = "\"" + section_ + "\"";
    const std::string expected[] = {
        "REGISTRY: " + q + " nicht in \"long\" gefunden.",
        "REGISTRY: " + q + " nicht in \"missing\" gefunden.",
        "REGISTRY: RegOpenKeyEx scheiterte für \"Software\\GlyphmillTest\\no such key\".",
        "REGISTRY: RegCreateKeyEx scheiterte für " + q + ".",
        "REGISTRY: RegOpenKeyEx scheiterte für " + q + ".",
    };
    ASSERT_EQ(Recorded.size(), std::size(expected));
    for (size_t i = 0; i < Recorded.size(); ++i) {
        EXPECT_EQ(Recorded[i].title, expected[i]);
        EXPECT_FALSE(Recorded[i].fatal);
    }

    // Warnings are silent at level 0.
    RecordReports(0);
    EXPECT_EQ(Read("HKEY_1", section, "missing"), "");
    EXPECT_TRUE(Recorded.empty());
}
