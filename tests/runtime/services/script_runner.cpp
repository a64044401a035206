#include "script_runner.h"

#include <windows.h>

#include "core/startup.h"

namespace {

std::function<void()> Body;

void RunBody()
{
    Body();
}

}  // namespace

int RunScript(std::function<void()> body)
{
    Body = std::move(body);
    int exitCode = RunRuntime(GetModuleHandleA(nullptr), RunBody);
    Body = nullptr;
    return exitCode;
}
