// Raw byte files through the numbered slots, on real files in a temporary folder.

#include "services/file_slots.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

#include "recorded_reports.h"

namespace {

class FileSlots : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "glyphmill_slots_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
        RecordReports(1);
        SetFileMode(2);
    }
    void TearDown() override
    {
        ResetFileSlots();
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder_ + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do
                DeleteFileA((folder_ + "\\" + found.cFileName).c_str());
            while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(folder_.c_str());
    }

    std::string Path(const char* name) const { return folder_ + "\\" + name; }

    void WriteWholeFile(const char* name, const std::string& bytes) const
    {
        HANDLE file = CreateFileA(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }

    std::string ReadWholeFile(const char* name) const
    {
        HANDLE file = CreateFileA(Path(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return "<missing>";
        char buffer[256];
        DWORD read = 0;
        ReadFile(file, buffer, sizeof buffer, &read, nullptr);
        CloseHandle(file);
        return std::string(buffer, read);
    }

    bool Exists(const char* name) const { return GetFileAttributesA(Path(name).c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::string folder_;
};

}  // namespace

TEST_F(FileSlots, SlotNumbersOutsideOneToFifteenRaise210AndDoNothing)
{
    WriteWholeFile("keep.bin", "12345678");
    char area[8] = {};
    const std::function<void(int32_t)> operations[] = {
        [](int32_t slot) { AssignFile(slot, "x"); },
        [](int32_t slot) { OpenFile(slot); },
        [](int32_t slot) { CloseFile(slot); },
        [&area](int32_t slot) { ReadBlock(slot, area, 0, 4); },
        [&area](int32_t slot) { WriteBlock(slot, area, 0, 4); },
        [](int32_t slot) { SeekFile(slot, 2); },
        [](int32_t slot) { EraseFile(slot); },
    };
    for (int32_t slot : {0, 16, -1}) {
        for (const auto& operation : operations) {
            Recorded.clear();
            EXPECT_THROW(operation(slot), ProgramEnded) << "slot " << slot;
            ASSERT_EQ(Recorded.size(), 1u);
            EXPECT_EQ(Recorded[0].title, "Dateinummer nicht im erlaubten Bereich!");
            EXPECT_TRUE(Recorded[0].fatal);
        }
    }

    // Silent level: the command goes on with its fall-back result.
    RecordReports(-1);
    EXPECT_EQ(ReadBlock(0, area, 0, 4), -1);
    EXPECT_EQ(ReadBlock(16, area, 0, 4), -1);
    EXPECT_TRUE(Recorded.empty());

    // The edge slots work.
    for (int32_t slot : {1, 15}) {
        AssignFile(slot, Path("keep.bin").c_str());
        OpenFile(slot);
        EXPECT_EQ(ReadBlock(slot, area, 0, 8), 8);
        CloseFile(slot);
    }
    EXPECT_EQ(std::string(area, 8), "12345678");
}

TEST_F(FileSlots, ReadAtPositionReturnsOnlyWhatTheFileHolds)
{
    WriteWholeFile("eight.bin", "ABCDEFGH");
    AssignFile(3, Path("eight.bin").c_str());
    OpenFile(3);
    std::array<char, 10> area;
    area.fill('.');
    SeekFile(3, 6);
    EXPECT_EQ(ReadBlock(3, area.data(), 2, 4), 2);
    EXPECT_EQ(std::string(area.data(), area.size()), "..GH......");
    EXPECT_EQ(ReadBlock(3, area.data(), 0, 4), 0);  // at the end now

    SeekFile(3, 1);
    EXPECT_EQ(ReadBlock(3, area.data(), 0, 3), 3);
    EXPECT_EQ(std::string(area.data(), 3), "BCD");
    EXPECT_EQ(ReadBlock(3, area.data(), 0, 2), 2);  // the position advanced
    EXPECT_EQ(std::string(area.data(), 2), "EF");

    // A negative offset or count would address memory outside the area: nothing is read.
    area.fill('.');
    SeekFile(3, 0);
    EXPECT_EQ(ReadBlock(3, area.data(), -1, 4), 0);
    EXPECT_EQ(ReadBlock(3, area.data(), 0, -4), 0);
    EXPECT_EQ(std::string(area.data(), area.size()), "..........");
}

TEST_F(FileSlots, WritingDoesNotTruncate)
{
    WriteWholeFile("ten.bin", "0123456789");
    AssignFile(1, Path("ten.bin").c_str());
    OpenFile(1);
    WriteBlock(1, "xyzXYZ", 3, 3);
    SeekFile(1, 8);
    WriteBlock(1, "ab", 0, 2);
    WriteBlock(1, "cd", 0, 2);  // extends past the old end
    CloseFile(1);
    EXPECT_EQ(ReadWholeFile("ten.bin"), "XYZ34567abcd");

    WriteWholeFile("ten.bin", "0123456789");
    OpenFile(1);  // reopened by the name it kept
    WriteBlock(1, "abc", 0, 3);
    CloseFile(1);
    EXPECT_EQ(ReadWholeFile("ten.bin"), "abc3456789");
}

TEST_F(FileSlots, UnopenedOrFailedSlotsReadMinusOneAndWriteNothing)
{
    char area[4] = {'.', '.', '.', '.'};
    EXPECT_EQ(ReadBlock(5, area, 0, 4), -1);  // never assigned
    AssignFile(5, Path("assigned.bin").c_str());
    EXPECT_EQ(ReadBlock(5, area, 0, 4), -1);  // assigned, never opened
    WriteBlock(5, "abcd", 0, 4);
    SeekFile(5, 3);
    EXPECT_FALSE(Exists("assigned.bin"));

    AssignFile(6, Path("no such folder\\x.bin").c_str());
    OpenFile(6);  // fails without a report
    EXPECT_EQ(ReadBlock(6, area, 0, 4), -1);
    EXPECT_TRUE(Recorded.empty());
    EXPECT_EQ(std::string(area, 4), "....");
}

TEST_F(FileSlots, FileModeChoosesTheAccessAndMissingFilesAreCreated)
{
    SetFileMode(0);
    AssignFile(2, Path("new.bin").c_str());
    OpenFile(2);
    EXPECT_TRUE(Exists("new.bin"));
    char area[4] = {};
    EXPECT_EQ(ReadBlock(2, area, 0, 4), 0);
    WriteBlock(2, "abcd", 0, 4);  // read only: the write fails quietly
    CloseFile(2);
    EXPECT_EQ(ReadWholeFile("new.bin"), "");

    SetFileMode(1);
    OpenFile(2);
    WriteBlock(2, "abcd", 0, 4);
    SeekFile(2, 0);
    EXPECT_EQ(ReadBlock(2, area, 0, 4), 0);  // write only: nothing can be read
    CloseFile(2);
    EXPECT_EQ(ReadWholeFile("new.bin"), "abcd");

    SetFileMode(7);  // any other value: read and write
    OpenFile(2);
    EXPECT_EQ(ReadBlock(2, area, 0, 4), 4);
    CloseFile(2);
}

TEST_F(FileSlots, FilesAreNotSharedAndReopeningClosesTheOldHandle)
{
    WriteWholeFile("shared.bin", "data");
    AssignFile(1, Path("shared.bin").c_str());
    AssignFile(2, Path("shared.bin").c_str());
    OpenFile(1);
    OpenFile(2);
    char area[4] = {};
    EXPECT_EQ(ReadBlock(2, area, 0, 4), -1);  // open in slot 1, so slot 2 cannot open it
    EraseFile(1);
    EXPECT_TRUE(Exists("shared.bin"));  // open files cannot be deleted

    // Opening slot 1 again must release its first handle, or this open would find the file
    // in use by that very handle.
    OpenFile(1);
    EXPECT_EQ(ReadBlock(1, area, 0, 4), 4);
    CloseFile(1);
    CloseFile(1);  // closing a closed slot does nothing
    OpenFile(2);
    EXPECT_EQ(ReadBlock(2, area, 0, 4), 4);
    CloseFile(2);

    EraseFile(2);
    EXPECT_FALSE(Exists("shared.bin"));
    EraseFile(2);  // already gone: silent
    EXPECT_TRUE(Recorded.empty());
}

TEST_F(FileSlots, DirectoriesOfTheCurrentAndOtherDrives)
{
    char before[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, before);
    EXPECT_EQ(std::string(GetDirectory("@").View()), before);

    ChangeDirectory(folder_.c_str());
    EXPECT_EQ(std::string(GetDirectory("@").View()), folder_);
    ChangeDirectory("no such folder");
    EXPECT_EQ(std::string(GetDirectory("@").View()), folder_);

    // Another drive: its own current directory, and ours stays.
    char other = folder_[0] == 'C' || folder_[0] == 'c' ? 'z' : 'c';
    std::string drive(1, other);
    std::string result(GetDirectory(drive.c_str()).View());
    ASSERT_GE(result.size(), 3u);
    EXPECT_EQ(result[0], other - 'a' + 'A');
    EXPECT_EQ(result.substr(1, 2), ":\\");
    EXPECT_EQ(std::string(GetDirectory("@").View()), folder_);

    // A drive that does not exist has no directory.
    EXPECT_EQ(std::string(GetDirectory("q").View()), "");
    EXPECT_EQ(std::string(GetDirectory("@").View()), folder_);
    ChangeDirectory(before);
}
