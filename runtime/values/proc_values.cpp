#include "proc_values.h"

#include <vector>

#include "number_text.h"

ScriptValue ProcArgs[ProcArgCount];

namespace {

std::vector<int32_t> ConditionStack;

// Truncation toward zero; values outside the 32-bit range (and NaN) have no integer form
// and read as 0 rather than as undefined behaviour.
int32_t TruncateToInt(double value)
{
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return 0;
    return static_cast<int32_t>(value);
}

}  // namespace

ScriptValue IntValue(int32_t value)
{
    return ScriptValue{ValueInteger, IntToStr(value), static_cast<double>(value), value};
}

ScriptValue RealValue(double value)
{
    return ScriptValue{ValueReal, FloatToStr(value), value, TruncateToInt(value)};
}

ScriptValue StringValue(const ScriptString& value)
{
    return ScriptValue{ValueString, value, 0.0, 0};
}

int32_t ArgInt(int32_t index)
{
    return ProcArgs[index].integer;
}

ScriptString ArgString(int32_t index)
{
    return ProcArgs[index].text;
}

ScriptValue ReturnInt(int32_t value)
{
    ProcArgs[0] = IntValue(value);
    return ProcArgs[0];
}

ScriptValue ReturnString(const ScriptString& value)
{
    ProcArgs[0] = StringValue(value);
    return ProcArgs[0];
}

void PushCondition(int32_t flag)
{
    if (ConditionStack.size() == ConditionStack.capacity())
        ConditionStack.reserve(ConditionStack.capacity() + ConditionBlock);
    ConditionStack.push_back(flag);
}

void PopCondition(int32_t& flag)
{
    // Translated code pairs every push with one pop; an unpaired pop leaves `flag` alone
    // instead of reading outside the stack.
    if (ConditionStack.empty())
        return;
    flag = ConditionStack.back();
    ConditionStack.pop_back();
}

uint32_t ConditionStackCapacity()
{
    return static_cast<uint32_t>(ConditionStack.capacity());
}

int32_t SetBit(int32_t value, int32_t bit, int32_t flag)
{
    uint32_t mask = 1u << (static_cast<uint32_t>(bit) % 32u);
    uint32_t bits = static_cast<uint32_t>(value);
    return static_cast<int32_t>(flag != 0 ? bits | mask : bits & ~mask);
}
