// DLL calls in a running runtime, against USER32 and a DLL of our own (test_library.cpp)
// that is present under several file names.

#include "services/dll_calls.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "core/command_channel.h"
#include "core/runtime_state.h"
#include "recorded_reports.h"
#include "support/script_runner.h"
#include "support/message_boxes.h"

namespace {

bool Loaded(const char* module)
{
    return GetModuleHandleA(module) != nullptr;
}

std::string TempCopyOfTestLibrary(const char* name)
{
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string source(exe);
    source = source.substr(0, source.find_last_of('\\') + 1) + "glyphtest.dll";
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "gm_dll_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string target = folder + "\\" + name;
    CopyFileA(source.c_str(), target.c_str(), FALSE);
    return target;
}

}  // namespace

TEST(DllCalls, LoadedModulesAreFoundByTheirFileNameAndStayLoaded)
{
    RunScript([] {
        RecordReports(1);
        EXPECT_NE(CallDllFunction("user32", "MessageBeep", {0}), 0);
        EXPECT_TRUE(Loaded("user32"));

        HMODULE kept = LoadDll("kept.dll");
        ASSERT_NE(kept, nullptr);
        // Found by name without suffix, and by the file-name part of a path where no such
        // file exists: the module's own counter keeps counting, so it was never reloaded.
        EXPECT_EQ(CallDllFunction("kept", "CountCalls"), 1);
        EXPECT_EQ(CallDllFunction("kept.dll", "CountCalls"), 2);
        EXPECT_EQ(CallDllFunction("C:\\nowhere\\kept.dll", "CountCalls"), 3);
        EXPECT_EQ(CallDllFunction("Z:/nowhere/kept.dll", "CountCalls"), 4);
        // A long path is fine when its module is loaded: only loading needs the short buffer.
        EXPECT_EQ(CallDllFunction(("C:\\" + std::string(150, 'p') + "\\kept.dll").c_str(), "CountCalls"), 5);
        EXPECT_TRUE(Loaded("kept.dll"));
        EXPECT_NE(FreeDll(kept), 0);
        EXPECT_FALSE(Loaded("kept.dll"));
        // A library that cannot be loaded is no error for LoadDll: just no handle.
        EXPECT_EQ(LoadDll("no such library"), nullptr);
        EXPECT_TRUE(Recorded.empty());
    });
}

TEST(DllCalls, OtherModulesAreLoadedByTheSuffixRuleForOneCallOnly)
{
    std::string copy = TempCopyOfTestLibrary("pathcopy.dll");
    RunScript([&copy] {
        RecordReports(1);
        struct Case {
            std::string dll;
            const char* module;
        };
        const Case cases[] = {
            {"glyphtest", "glyphtest.dll"},   {"glyphtest.dll", "glyphtest.dll"},
            {"glyph.test", "glyph.test.DLL"},  // only loadable with ".DLL" appended
            {"my.lib.ocx", "my.lib.ocx"},      // would not load with ".DLL" appended
            {copy, "pathcopy.dll"},            // by its full path
        };
        for (const Case& c : cases) {
            // A fresh load each time: the module's counter starts again.
            EXPECT_EQ(CallDllFunction(c.dll.c_str(), "CountCalls"), 1) << c.dll;
            EXPECT_EQ(CallDllFunction(c.dll.c_str(), "CountCalls"), 1) << c.dll;
            EXPECT_FALSE(Loaded(c.module)) << c.dll;
        }
        EXPECT_TRUE(Recorded.empty());
    });
    DeleteFileA(copy.c_str());
    RemoveDirectoryA(copy.substr(0, copy.find_last_of('\\')).c_str());
}

TEST(DllCalls, ArgumentsArriveInOrderAndResultsAtFullWidth)
{
    RunScript([] {
        RecordReports(1);
        HMODULE library = LoadDll("glyphtest");
        ASSERT_NE(library, nullptr);
        EXPECT_EQ(CallDllFunction("glyphtest", "NoArguments"), 42);
        DWORD start = GetTickCount();
        for (int i = 0; i < 1000; ++i) {
            ASSERT_EQ(CallDllFunction("glyphtest", "DigitsStdcall", {1, 2, 3}), 123);
            ASSERT_EQ(CallDllFunction("glyphtest", "DigitsCdecl", {4, 5, 6}), 456);
        }
        std::printf("2000 calls of a loaded module: %lu ms\n", static_cast<unsigned long>(GetTickCount() - start));
        std::vector<INT_PTR> args;
        for (INT_PTR k = 1; k <= 32; ++k)
            args.push_back(k);
        EXPECT_EQ(CallDllFunction("glyphtest", "Weighted32", args.data(), 32), 11440);  // sum of k * k

        // The high bit of a 32-bit result makes it negative; pointer-sized values pass whole.
        EXPECT_LT(static_cast<int32_t>(CallDllFunction("glyphtest", "HighBit32")), 0);
        EXPECT_EQ(static_cast<int32_t>(CallDllFunction("glyphtest", "HighBit32")), INT32_MIN + 1);
        EXPECT_EQ(CallDllFunction("glyphtest", "NegativePointerSized"), -123456789);
        const INT_PTR wide = sizeof(INT_PTR) == 8 ? static_cast<INT_PTR>(0x123456789ABCDEF0LL) : 0x12345678;
        EXPECT_EQ(CallDllFunction("glyphtest", "Echo", {wide}), wide);

        ScriptString text("Glyphmill");
        EXPECT_EQ(CallDllFunction("glyphtest", "TextLength", {reinterpret_cast<INT_PTR>(text.Text())}), 9);
        EXPECT_EQ(static_cast<DWORD>(CallDllFunction("glyphtest", "CallingThread")), GuiThreadId);
        EXPECT_NE(GetCurrentThreadId(), GuiThreadId);
        FreeDll(library);
        EXPECT_TRUE(Recorded.empty());
    });
}

TEST(DllCalls, CallsAreServedInFastModeAndThroughThePostedRequest)
{
    RunScript([] {
        HMODULE library = LoadDll("glyphtest");
        PostModeCode(ReqEnterFastMode);
        EXPECT_EQ(CallDllFunction("glyphtest", "DigitsStdcall", {7, 8, 9}), 789);
        PostModeCode(ReqLeaveFastMode);

        DllArgs[0] = 3;
        DllArgs[1] = 1;
        DllArgs[2] = 4;
        DllCallRequest request{GetProcAddress(library, "DigitsCdecl"), 3, 0};
        PostGuiRequest(ReqCallFunction, &request);
        EXPECT_EQ(request.result, 314);
        FreeDll(library);
    });
}

TEST(DllCalls, FailuresReportTheirCodeAndReturnMinusOne)
{
    RunScript([] {
        struct Case {
            std::string dll;
            std::string function;
            std::string title;
        };
        const std::string longName(76, 'n');  // 80 characters with ".DLL": one too many
        const std::string longPart(300, 'p');
        const Case cases[] = {
            {"nix", "Foo", "Fehler beim Laden der DLL: nix"},
            {"C:\\nowhere\\nix.dll", "Foo", "Fehler beim Laden der DLL: C:\\nowhere\\nix.dll"},
            {longName, "Foo", "Fehler beim Laden der DLL: " + longName},
            {"C:\\" + longPart, "Foo", "Fehler beim Laden der DLL: C:\\" + longPart},
            {"glyphtest", "NoSuchExport", "Funktion in DLL nicht vohanden: NoSuchExport"},
            {"glyphtest", "noarguments", "Funktion in DLL nicht vohanden: noarguments"},  // names are exact
        };
        for (const Case& c : cases) {
            RecordReports(1);
            EXPECT_THROW(CallDllFunction(c.dll.c_str(), c.function.c_str()), ProgramEnded);
            ASSERT_EQ(Recorded.size(), 1u);
            EXPECT_EQ(Recorded[0].title, c.title);
            EXPECT_TRUE(Recorded[0].fatal);

            RecordReports(-1);
            EXPECT_EQ(CallDllFunction(c.dll.c_str(), c.function.c_str()), -1);
        }
        // A module loaded only to look for a missing export is not left behind.
        EXPECT_FALSE(Loaded("glyphtest.dll"));

        RecordReports(1);
        std::vector<INT_PTR> tooMany(33, 1);
        DllArgs[0] = 77;
        EXPECT_THROW(CallDllFunction("glyphtest", "Weighted32", tooMany.data(), 33), ProgramEnded);
        ASSERT_EQ(Recorded.size(), 1u);
        EXPECT_EQ(Recorded[0].title, "Funktion in DLL nicht vohanden: Weighted32 (mehr als 32 Argumente)");
        EXPECT_EQ(DllArgs[0], 77);  // refused before anything was written
    });
}

TEST(DllCalls, ErrorBoxOfAMissingDllEndsTheProgramAndTheSilentLevelShowsNone)
{
    std::atomic<int> reached{0};
    SeenBox seen;
    bool appeared = false;
    std::thread answerer([&] { appeared = AnswerNextMessageBox(IDOK, seen); });
    int exitCode = RunScript([&reached] {
        ErrorLevel = 1;
        CallDllFunction("nix", "Foo", {1});
        reached = 1;
    });
    answerer.join();
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(reached.load(), 0);
    ASSERT_TRUE(appeared);
    EXPECT_EQ(seen.title, L"Fehler beim Laden der DLL: nix");

    std::thread watcher([&] { appeared = AnswerNextMessageBox(IDOK, seen, 1000); });
    exitCode = RunScript([&reached] {
        ErrorLevel = -1;
        EXPECT_EQ(CallDllFunction("nix", "Foo"), -1);
        EXPECT_EQ(CallDllFunction("user32", "NoSuchExport"), -1);
        reached = 2;
    });
    watcher.join();
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(reached.load(), 2);
    EXPECT_FALSE(appeared);
}
