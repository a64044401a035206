#pragma once
// Procedure arguments and results, the condition stack of nested loops, and bit setting.
// Program thread only.

#include <cstdint>

#include "script_string.h"

enum ValueKind : int32_t {
    ValueEmpty = 0,
    ValueInteger = 1,
    ValueReal = 2,
    ValueString = 3,
};

// One argument or result. A number is held in all three forms at once, so a procedure can
// read it as whichever it needs.
struct ScriptValue {
    int32_t kind = ValueEmpty;
    ScriptString text;
    double real = 0.0;
    int32_t integer = 0;
};

ScriptValue IntValue(int32_t value);
// Text with the current DecimalPlaces; integer truncated toward zero.
ScriptValue RealValue(double value);
ScriptValue StringValue(const ScriptString& value);

constexpr int32_t ProcArgCount = 32;
// Entry 0 is the result of the last procedure that returned one; 1 to 31 are the arguments
// of the procedure being called.
extern ScriptValue ProcArgs[ProcArgCount];

// Argument numbers are 1 to 31; translated code never passes others.
int32_t ArgInt(int32_t index);
ScriptString ArgString(int32_t index);
ScriptValue ReturnInt(int32_t value);
ScriptValue ReturnString(const ScriptString& value);

void PushCondition(int32_t flag);
void PopCondition(int32_t& flag);
// Room in the condition stack's storage, which grows in blocks of ConditionBlock entries.
uint32_t ConditionStackCapacity();
constexpr uint32_t ConditionBlock = 1024;

// `value` with bit (`bit` modulo 32) set when `flag` is not 0, else cleared.
int32_t SetBit(int32_t value, int32_t bit, int32_t flag);
