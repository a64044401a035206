#include "dll_calls.h"

#include <string>
#include <string_view>

#include "core/request_codes.h"
#include "core/runtime_state.h"
#include "dll_names.h"
#include "owned_handles.h"
#include "values/error_report.h"

INT_PTR DllArgs[DllArgCount];

#if defined(_WIN64)

namespace {

// Win64 has one calling convention and the caller owns the argument area, so passing all
// 32 entries is harmless to a function that takes fewer.
using AnyFunction = INT_PTR (*)(INT_PTR, INT_PTR, INT_PTR, INT_PTR, INT_PTR, INT_PTR, INT_PTR, INT_PTR, INT_PTR,
                                INT_PTR, INT_PTR, INT_PTR, INT_PTR, INT_PTR, INT_PTR, INT_PTR, INT_PTR, INT_PTR,
                                INT_PTR, INT_PTR, INT_PTR, INT_PTR, INT_PTR, INT_PTR, INT_PTR, INT_PTR, INT_PTR,
                                INT_PTR, INT_PTR, INT_PTR, INT_PTR, INT_PTR);

INT_PTR CallWithArguments(FARPROC address, const INT_PTR* a, int32_t)
{
    auto function = reinterpret_cast<AnyFunction>(reinterpret_cast<void (*)()>(address));
    return function(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9], a[10], a[11], a[12], a[13], a[14],
                    a[15], a[16], a[17], a[18], a[19], a[20], a[21], a[22], a[23], a[24], a[25], a[26], a[27], a[28],
                    a[29], a[30], a[31]);
}

}  // namespace

#else

// dll_invoke_i686.S: pushes count entries, last first, calls, and restores the stack
// pointer itself, so that stdcall functions (which pop their arguments) and cdecl
// functions (which leave them) both return to a sound stack.
extern "C" INT_PTR CallWithArguments(FARPROC address, const INT_PTR* args, int32_t count);

#endif

void ServeCallFunction(DllCallRequest& request)
{
    int32_t count = request.count < 0 ? 0 : request.count > DllArgCount ? DllArgCount : request.count;
    request.result = CallWithArguments(request.address, DllArgs, count);
}

INT_PTR CallDllFunction(const ScriptString& dll, const ScriptString& function, const INT_PTR* args, int32_t count)
{
    if (count < 0 || count > DllArgCount) {
        std::string detail = std::string(function.Text()) + " (mehr als 32 Argumente)";
        RaiseError(ErrorFunctionMissing, detail.c_str());
        return -1;
    }
    for (int32_t i = 0; i < count; ++i)
        DllArgs[i] = args[i];

    std::string_view name = dll.Text();
    std::string_view filePart = FileNamePart(name);
    if (filePart.size() > MaxFileNamePart) {
        RaiseError(ErrorDllNotLoadable, dll.Text());
        return -1;
    }
    HMODULE module = GetModuleHandleA(std::string(filePart).c_str());
    // Nothing keeps a module that this call loaded for itself.
    LoadedModule loadedHere;
    if (!module) {
        std::string toLoad = NameToLoad(name);
        if (toLoad.size() <= MaxNameToLoad)
            loadedHere = LoadedModule(LoadLibraryA(toLoad.c_str()));
        if (!loadedHere) {
            RaiseError(ErrorDllNotLoadable, dll.Text());
            return -1;
        }
        module = loadedHere.Get();
    }

    FARPROC address = GetProcAddress(module, function.Text());
    if (!address) {
        loadedHere.Close();
        RaiseError(ErrorFunctionMissing, function.Text());
        return -1;
    }

    DllCallRequest request{address, count, 0};
    SendMessageA(CommandWindow, GuiRequest, ReqCallFunction, reinterpret_cast<LPARAM>(&request));
    Sleep(0);
    return request.result;
}

INT_PTR CallDllFunction(const ScriptString& dll, const ScriptString& function, std::initializer_list<INT_PTR> args)
{
    return CallDllFunction(dll, function, args.begin(), static_cast<int32_t>(args.size()));
}

HMODULE LoadDll(const ScriptString& name)
{
    return reinterpret_cast<HMODULE>(
        CallDllFunction("KERNEL32", "LoadLibraryA", {reinterpret_cast<INT_PTR>(name.Text())}));
}

INT_PTR FreeDll(HMODULE module)
{
    return CallDllFunction("KERNEL32", "FreeLibrary", {reinterpret_cast<INT_PTR>(module)});
}
