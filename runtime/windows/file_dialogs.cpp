#include "file_dialogs.h"

#include <array>
#include <cstring>

#include "core/command_channel.h"
#include "core/request_records.h"

namespace {

ScriptString RunFileDialog(int32_t mode, const ScriptString& title, const char* filter, const char* initialName)
{
    std::array<char, FileBufferSize> file{};
    std::strncpy(file.data(), initialName, FileBufferSize - 1);
    FileDialogRequest request = {mode, title.Text(), filter, file.data()};
    PostGuiRequest(ReqFileDialog, &request);
    return ScriptString(file.data());
}

}  // namespace

ScriptString OpenFileDialog(const ScriptString& title, const ScriptString& filter)
{
    return RunFileDialog(0, title, filter.Text(), "");
}

ScriptString SaveFileDialog(const ScriptString& title, const ScriptString& initialName)
{
    return RunFileDialog(1, title, "", initialName.Text());
}
