#pragma once
// The filter and default extension that the standard file dialogs are given. Window-free,
// so that the byte layout can be checked natively.

#include <string>
#include <string_view>

struct FileDialogFilter {
    // Zero-separated description/pattern strings ending in a double zero byte; empty for
    // "no filter".
    std::string filter;
    // Without the dot, at most three characters; empty for none.
    std::string defaultExtension;
};

// Open dialog: the text is cut at every "|" (empty pieces skipped). A piece in an odd
// position (first, third, ...) that begins with "*" is written twice, so that a pattern
// given without a description serves as its own description.
FileDialogFilter BuildOpenFilter(std::string_view filterText);

// Save dialog: the single pattern "*.ext" for the extension of the initial name, or "*.*"
// when the name has none; the extension is also the default one.
FileDialogFilter BuildSaveFilter(std::string_view initialName);
