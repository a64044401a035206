#include "ini_registry.h"

#include <string>

#include "values/error_report.h"

namespace {

constexpr int32_t WriteFailed = 303;
constexpr int32_t RegistryFailed = 305;
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
    RaiseWarning(RegistryFailed, detail.c_str());
}

ScriptString ReadRegistryString(const ScriptString& store, const ScriptString& section, const ScriptString& key)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(RegistryRootFromName(store), section.Text(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        RaiseRegistryWarning("RegOpenKeyEx scheiterte für " + Quoted(section) + ".");
        return ScriptString();
    }
    // One byte beyond what the query may fill, so that data without a terminating zero
    // (REG_BINARY, REG_DWORD, a 256-byte string) still ends inside the buffer.
    char data[ValueBufferSize + 1] = {};
    DWORD type = REG_SZ;
    DWORD size = ValueBufferSize;
    LONG status = RegQueryValueExA(opened, key.Text(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(opened);
    if (status != ERROR_SUCCESS) {
        RaiseRegistryWarning(Quoted(section) + " nicht in " + Quoted(key) + " gefunden.");
        return ScriptString();
    }
    return ScriptString(data);
}

void WriteRegistryString(const ScriptString& store, const ScriptString& section, const ScriptString& key,
                         const ScriptString& value)
{
    HKEY created = nullptr;
    if (RegCreateKeyExA(RegistryRootFromName(store), section.Text(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                        nullptr, &created, nullptr) != ERROR_SUCCESS) {
        RaiseRegistryWarning("RegCreateKeyEx scheiterte für " + Quoted(section) + ".");
        return;
    }
    RegSetValueExA(created, key.Text(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.Text()), value.Length() + 1);
    RegCloseKey(created);
}

}  // namespace

HKEY RegistryRootFromName(const ScriptString& store)
{
    static const HKEY Roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE,   HKEY_USERS,
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
        RaiseWarning(WriteFailed, store.Text());
}
