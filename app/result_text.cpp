#include "result_text.h"

#include <algorithm>
#include <cstring>

ResultText::ResultText() : bytes_(InitialCapacity, 0)
{
}

void ResultText::Clear()
{
    length_ = 0;
    bytes_[0] = 0;
}

void ResultText::AppendLine(const ScriptString& line)
{
    size_t added = std::strlen(line.Text());
    size_t needed = static_cast<size_t>(length_) + added + 1;
    if (needed > bytes_.size())
        bytes_.resize(std::max(needed, bytes_.size() * 2), 0);
    std::memcpy(bytes_.data() + length_, line.Text(), added + 1);
    length_ += static_cast<uint32_t>(added);
}
