#pragma once
// The file names of a run over many pictures: each picture's base name plus the form's
// extension, as the window's save dialog proposes it. Needs no window.

#include <string>
#include <vector>

#include "batch/command_options.h"

// The file name of a path (after its last "\", "/" or ":") cut before its first ".";
// "bild" when nothing is left, as the save dialog proposes then.
std::string PictureBaseName(const std::string& path);

// One result name per picture, in the pictures' order. A name an earlier picture of the
// run has taken (letter case aside, as Windows compares) gets "-2", "-3", ... appended to
// its base name: Katze.jpg and Katze.bmp give Katze.txt and Katze-2.txt.
std::vector<std::string> ResultNames(const std::vector<std::string>& pictures, const std::string& extension);

// The result file of each of options.pictures in `folder`, joined to it by `separator`:
// its result name with the extension of options.form.
std::vector<std::string> ResultPathsIn(const std::string& folder, char separator, const CommandOptions& options);
