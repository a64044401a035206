#include "batch/conversion_run.h"

#include <string>
#include <vector>

#include "batch/console_output.h"
#include "batch/memory_batch.h"
#include "batch/picture_batch.h"

void ExpandPictures(CommandOptions& options)
{
    std::vector<std::string> expanded;
    for (const std::string& picture : options.pictures) {
        std::vector<std::string> matches = WildcardMatches(picture);
        if (matches.empty())
            expanded.push_back(picture);
        else
            expanded.insert(expanded.end(), matches.begin(), matches.end());
    }
    options.pictures = expanded;
    if (!expanded.empty())
        options.picture = expanded.front();
}

int RunConversion(CommandOptions options)
{
    ExpandPictures(options);
    if (options.pictures.size() > 1 && options.outputFolder.empty()) {
        WriteStandardError("Die Angabe passt auf mehrere Bilder; mehrere Bilder brauchen --out-dir ORDNER.\r\n" +
                           std::string(UsageText()));
        return ExitBadArguments;
    }
    if (!options.outputFolder.empty()) {
        std::vector<std::string> outputs = ResultPaths(options);
        if (outputs.empty()) {
            WriteStandardError("Der Ausgabeordner kann nicht angelegt werden: " + options.outputFolder + "\r\n");
            return ExitOutputUnwritable;
        }
        if (outputs.size() > 1)
            return ConvertPictures(options, outputs);
        options.output = outputs.front();
    }
    return ConvertInMemory(options);
}
