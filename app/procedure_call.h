#pragma once
// Calling a script procedure: arguments into ProcArgs 1..n, the procedure, the result from
// ProcArgs 0.

#include <initializer_list>

#include "values/proc_values.h"

inline ScriptValue CallProcedure(void (*procedure)(), std::initializer_list<ScriptValue> arguments = {})
{
    int32_t index = 1;
    for (const ScriptValue& argument : arguments)
        ProcArgs[index++] = argument;
    procedure();
    return ProcArgs[0];
}
