// The filter strings and default extensions handed to the standard file dialogs.

#include "windows/file_dialog_filter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A literal that contains zero bytes.
template <size_t N>
std::string Bytes(const char (&text)[N])
{
    return std::string(text, N - 1);
}

struct OpenCase {
    const char* filterText;
    std::string expected;
};

class OpenFilter : public testing::TestWithParam<OpenCase> {};

TEST_P(OpenFilter, IsBuiltByteForByte)
{
    EXPECT_EQ(BuildOpenFilter(GetParam().filterText).filter, GetParam().expected);
    EXPECT_EQ(BuildOpenFilter(GetParam().filterText).defaultExtension, "");
}

INSTANTIATE_TEST_SUITE_P(Cases, OpenFilter,
                         testing::Values(
                             // two description and pattern pairs: two entries
                             OpenCase{"Bilder|*.bmp;*.gif|Texte|*.txt", Bytes("Bilder\0*.bmp;*.gif\0Texte\0*.txt\0\0")},
                             // a lone pattern serves as its own description
                             OpenCase{"*.txt", Bytes("*.txt\0*.txt\0\0")},
                             // a pattern in a pattern's place is written once
                             OpenCase{"Alle|*.*|*.bmp", Bytes("Alle\0*.*\0*.bmp\0*.bmp\0\0")},
                             // empty pieces are skipped and do not shift the pairing
                             OpenCase{"||Texte||*.txt|", Bytes("Texte\0*.txt\0\0")},
                             // a description that does not begin with "*" is not doubled
                             OpenCase{"Texte", Bytes("Texte\0\0")}, OpenCase{"", ""}, OpenCase{"|||", ""}));

struct SaveCase {
    const char* initialName;
    std::string expectedFilter;
    const char* expectedExtension;
};

class SaveFilter : public testing::TestWithParam<SaveCase> {};

TEST_P(SaveFilter, OffersTheInitialNamesExtension)
{
    FileDialogFilter filter = BuildSaveFilter(GetParam().initialName);
    EXPECT_EQ(filter.filter, GetParam().expectedFilter);
    EXPECT_EQ(filter.defaultExtension, GetParam().expectedExtension);
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveFilter,
                         testing::Values(SaveCase{"bild.bmp", Bytes("*.bmp\0*.bmp\0\0"), "bmp"},
                                         SaveCase{"*.txt", Bytes("*.txt\0*.txt\0\0"), "txt"},
                                         SaveCase{"bild", Bytes("*.*\0*.*\0\0"), ""},
                                         SaveCase{"", Bytes("*.*\0*.*\0\0"), ""},
                                         // only three characters reach the dialog as default extension
                                         SaveCase{"foto.jpeg", Bytes("*.jpeg\0*.jpeg\0\0"), "jpe"},
                                         // the last dot of the file name counts, not one in a folder
                                         SaveCase{"bild.v2.txt", Bytes("*.txt\0*.txt\0\0"), "txt"},
                                         SaveCase{"c:\\ordner.alt\\bild", Bytes("*.*\0*.*\0\0"), ""},
                                         SaveCase{"name.", Bytes("*.\0*.\0\0"), ""}));

}  // namespace
