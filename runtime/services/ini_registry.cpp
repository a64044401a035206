#include "ini_registry.h"

#include <string>

#include "owned_handles.h"
#include "values/error_report.h"

namespace {

constexpr DWORD ValueBufferSize = 256;

bool IsRegistryStore(const ScriptString& store)
{
    static constexpr char Prefix[] = "HKEY_";
    for (uint32_t i = 0; i < 5; ++i) {
        char c = store.Text()[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != Prefix[i])
            return false;
    }
    return true;
}

std::string Quoted(const ScriptString& text)
{
    return "\"" + std::string(text.View()) + "\"";
}

void RaiseRegistryWarning(const std::string& detail)
{
    RaiseWarning(ErrorRegistryFailed, detail.c_str());
}

// The key for reading; empty when it cannot be opened.
RegistryKey OpenRegistryKey(const ScriptString& store, const ScriptString& section)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(RegistryRootFromName(store), section.Text(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return RegistryKey();
    return RegistryKey(opened);
}

// The key for writing, made when missing; empty when it cannot be.
RegistryKey CreateRegistryKey(const ScriptString& store, const ScriptString& section)
{
    HKEY created = nullptr;
    if (RegCreateKeyExA(RegistryRootFromName(store), section.Text(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                        nullptr, &created, nullptr) != ERROR_SUCCESS)
        return RegistryKey();
    return RegistryKey(created);
}

ScriptString ReadRegistryString(const ScriptString& store, const ScriptString& section, const ScriptString& key)
{
    RegistryKey opened = OpenRegistryKey(store, section);
    if (!opened) {
        RaiseRegistryWarning("RegOpenKeyEx scheiterte für " + Quoted(section) + ".");
        return ScriptString();
    }
    // One byte beyond what the query may fill, so that data without a terminating zero
    // (REG_BINARY, REG_DWORD, a 256-byte string) still ends inside the buffer.
    char data[ValueBufferSize + 1] = {};
    DWORD type = REG_SZ;
    DWORD size = ValueBufferSize;
    LONG status = RegQueryValueExA(opened.Get(), key.Text(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    opened.Close();
    if (status != ERROR_SUCCESS) {
        RaiseRegistryWarning(Quoted(section) + " nicht in " + Quoted(key) + " gefunden.");
        return ScriptString();
    }
    return ScriptString(data);
}

void WriteRegistryString(const ScriptString& store, const ScriptString& section, const ScriptString& key,
                         const ScriptString& value)
{
    RegistryKey created = CreateRegistryKey(store, section);
    if (!created) {
        RaiseRegistryWarning("RegCreateKeyEx scheiterte für " + Quoted(section) + ".");
        return;
    }
    RegSetValueExA(created.Get(), key.Text(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.Text()),
                   value.Length() + 1);
}

}  // namespace

HKEY RegistryRootFromName(const ScriptString& store)
{
    static const HKEY Roots[] = {HKEY_CLASSES_ROOT,     HKEY_CURRENT_USER,   HKEY_LOCAL_MACHINE, HKEY_USERS,
                                 HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA};
    if (!IsRegistryStore(store))
        return nullptr;
    char digit = store.Text()[5];
    if (digit < '0' || digit > '6')
        return nullptr;
    return Roots[digit - '0'];
}

ScriptString ReadIniString(const ScriptString& store, const ScriptString& section, const ScriptString& key)
{
    if (IsRegistryStore(store))
        return ReadRegistryString(store, section, key);
    char buffer[ValueBufferSize] = {};
    DWORD length = GetPrivateProfileStringA(section.Text(), key.Text(), "", buffer, ValueBufferSize, store.Text());
    return ScriptString(buffer, length < ValueBufferSize ? length : ValueBufferSize - 1);
}

void WriteIniString(const ScriptString& store, const ScriptString& section, const ScriptString& key,
                    const ScriptString& value)
{
    if (IsRegistryStore(store)) {
        WriteRegistryString(store, section, key, value);
        return;
    }
    if (!WritePrivateProfileStringA(section.Text(), key.Text(), value.Text(), store.Text()))
        RaiseWarning(ErrorWriteFailed, store.Text());
}
