#include "runtime_settings.h"

#include <cctype>

#include "command_channel.h"
#include "runtime_state.h"
#include "values/error_report.h"

std::atomic<int32_t> MessageMode{1};
INT_PTR PrinterDC = 0;
int32_t SqlWidth = 50;
INT_PTR SqlConnection = 0;
std::array<uint32_t, RandomStateWords> RandomState{};
int32_t RandomPosition = RandomStateWords + 1;  // not seeded

namespace {

// Letter case is ignored; nothing else is (lstrcmpiA would also pass over hyphens).
bool KeywordIs(const ScriptString& keyword, const char* name)
{
    const char* text = keyword.Text();
    for (; *text && *name; ++text, ++name) {
        if (std::tolower(static_cast<unsigned char>(*text)) != *name)
            return false;
    }
    return *text == *name;
}

INT_PTR SetFastMode(INT_PTR value)
{
    int32_t previous = FastMode;
    FastMode = static_cast<int32_t>(value);
    if (previous == 0 && FastMode != 0)
        PostModeCode(ReqEnterFastMode);
    else if (previous != 0 && FastMode == 0)
        PostModeCode(ReqLeaveFastMode);
    return previous;
}

}  // namespace

void ResetRuntimeSettings()
{
    MessageMode.exchange(1);
    PrinterDC = 0;
    SqlWidth = 50;
    SqlConnection = 0;
    RandomState.fill(0);
    RandomPosition = RandomStateWords + 1;
}

void SeedRandomGenerator(uint32_t seed)
{
    for (uint32_t& word : RandomState) {
        word = seed & 0xFFFF0000u;
        seed = seed * 69069u + 1u;
        word |= (seed & 0xFFFF0000u) >> 16;
        seed = seed * 69069u + 1u;
    }
    RandomPosition = RandomStateWords;
}

INT_PTR SetOption(const ScriptString& keyword, INT_PTR value)
{
    INT_PTR previous = 0;
    if (KeywordIs(keyword, "seterrorlevel")) {
        previous = ErrorLevel;
        SetErrorLevel(static_cast<int32_t>(value));
    } else if (KeywordIs(keyword, "fastmode")) {
        previous = SetFastMode(value);
    } else if (KeywordIs(keyword, "messagemode")) {
        previous = MessageMode.exchange(static_cast<int32_t>(value));
    } else if (KeywordIs(keyword, "randseed")) {
        SeedRandomGenerator(static_cast<uint32_t>(value));
    } else if (KeywordIs(keyword, "pdc")) {
        previous = PrinterDC;
        PrinterDC = value;
    } else if (KeywordIs(keyword, "sqlwidth")) {
        previous = SqlWidth;
        SqlWidth = static_cast<int32_t>(value);
    } else if (KeywordIs(keyword, "sqldbc")) {
        previous = SqlConnection;
        SqlConnection = value;
    }
    return previous;
}

void SetErrorLevel(int32_t value)
{
    if (value == -2 && FastMode == 0)
        SetOption("fastmode", 1);
    else if (value == ErrorLevel && FastMode != 0)
        SetOption("fastmode", 0);
    else
        ErrorLevel = value;
}
