#pragma once
// A conversion without a window over several pictures: wildcards expanded as Windows
// programs do, one result per picture in the output folder, converted by worker processes
// of this program (one picture each, as if run alone), two per processor at a time.

#include <string>
#include <vector>

#include "batch/command_options.h"

// Expands the wildcards ("*", "?") of the pictures' file names, in name order; a pattern
// that matches nothing stays as it is, to be reported. `options.picture` becomes the first.
void ExpandPictures(CommandOptions& options);

// Each program's own: the files a pattern with wildcards matches, in name order with letter
// case aside; none for a name without wildcards.
std::vector<std::string> WildcardMatches(const std::string& pattern);

// The result file of each picture in options.outputFolder, which is made when missing;
// empty when there is no such folder and none can be made.
std::vector<std::string> ResultPaths(const CommandOptions& options);

// Converts each picture into its output, reports each finished picture and a summary on
// standard error and returns the worst exit code.
int ConvertPictures(const CommandOptions& options, const std::vector<std::string>& outputs);
