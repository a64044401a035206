#include "dll_names.h"

std::string_view FileNamePart(std::string_view dll)
{
    std::size_t separator = dll.find_last_of("\\/");
    return separator == std::string_view::npos ? dll : dll.substr(separator + 1);
}

std::string NameToLoad(std::string_view dll)
{
    std::string name(dll);
    if (name.size() < 4 || name[name.size() - 4] != '.')
        name += ".DLL";
    return name;
}
