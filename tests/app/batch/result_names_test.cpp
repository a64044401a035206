// Results of a run over many pictures are named as the save dialog proposes, and a name
// an earlier picture took is never taken again.

#include "batch/result_names.h"

#include <gtest/gtest.h>

namespace {

TEST(ResultNames, BaseNamePlusExtensionAndNoNameTwice)
{
    std::vector<std::string> pictures = {"C:\\Bilder\\Katze.jpg", "Z:/fotos/Hund.bmp", "Katze.bmp",
                                         "D:\\alt\\KATZE.gif",    "Katze-2.pcx",       "a.b.tga",
                                         "C:\\.versteckt.bmp",    "x:Maus.tga"};
    std::vector<std::string> expected = {"Katze.txt",     "Hund.txt", "Katze-2.txt", "KATZE-3.txt",
                                         "Katze-2-2.txt", "a.txt",    "bild.txt",    "Maus.txt"};
    EXPECT_EQ(ResultNames(pictures, ".txt"), expected);
}

}  // namespace
