#include "script_runner.h"

#include <windows.h>

#include <thread>

#include "core/startup.h"

namespace {

std::function<void()> Body;

void RunBody()
{
    Body();
}

}  // namespace

int RunScript(std::function<void()> body, std::function<void()> user)
{
    Body = std::move(body);
    std::thread helper;
    if (user)
        helper = std::thread(std::move(user));
    int exitCode = RunRuntime(GetModuleHandleA(nullptr), RunBody);
    if (helper.joinable())
        helper.join();
    Body = nullptr;
    return exitCode;
}
