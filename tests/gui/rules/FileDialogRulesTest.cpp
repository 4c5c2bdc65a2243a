#include "shell/gtk/FileDialogRules.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

TEST(FileDialogRules, FilterAlternatesDescriptionsAndPatterns) {
    struct {
        const char* Filter;
        std::vector<TFileFilterEntry> Expected;
    } cases[] = {
        {"*.lmr|*.lmr", {{"*.lmr", {"*.lmr"}}}},
        {"", {}},
        {"Results|*.lmr|All|*.*", {{"Results", {"*.lmr"}}, {"All", {"*.*"}}}},
        {"Tests|*.xml;*.XTF", {{"Tests", {"*.xml", "*.XTF"}}}},
        // a trailing "|", a description without its pattern, an empty pattern: dropped
        {"Results|*.lmr|", {{"Results", {"*.lmr"}}}},
        {"Results|*.lmr|Lonely", {{"Results", {"*.lmr"}}}},
        {"Empty||Results|*.lmr", {{"Results", {"*.lmr"}}}},
    };
    for (const auto& c : cases) {
        const std::vector<TFileFilterEntry> entries = ParseFileFilter(c.Filter);
        ASSERT_EQ(entries.size(), c.Expected.size()) << c.Filter;
        for (size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(entries[i].Description, c.Expected[i].Description) << c.Filter;
            EXPECT_EQ(entries[i].Patterns, c.Expected[i].Patterns) << c.Filter;
        }
    }
}

TEST(FileDialogRules, PatternsMatchWithoutRegardToCase) {
    EXPECT_EQ(ChooserPattern("*.lmr"), "*.[lL][mM][rR]");
    EXPECT_EQ(ChooserPattern("*.*"), "*");
    EXPECT_EQ(ChooserPattern("a[1]?.txt"), "[aA][[]1]?.[tT][xX][tT]");
    EXPECT_EQ(ChooserPattern("отчёт*.lmr"), "отчёт*.[lL][mM][rR]");
}

TEST(FileDialogRules, DefaultExtensionGoesOnlyToNamesWithoutOne) {
    struct {
        const char* Path;
        const char* Ext;
        const char* Expected;
    } cases[] = {
        {"/home/u/results", ".lmr", "/home/u/results.lmr"},
        {"/home/u/results", "lmr", "/home/u/results.lmr"},
        {"/home/u/results.lmr", ".lmr", "/home/u/results.lmr"},
        {"/home/u/results.txt", ".lmr", "/home/u/results.txt"},
        {"/home/u/results.", ".lmr", "/home/u/results.lmr"},
        {"/home/u.v2/results", ".lmr", "/home/u.v2/results.lmr"}, // a dot in the folder only
        {"/home/u/.results", ".lmr", "/home/u/.results.lmr"},     // a hidden name has none
        {"/home/u/Иванов 12.05.2024", ".lmr", "/home/u/Иванов 12.05.2024"},
        {"/home/u/results", "", "/home/u/results"},
        {"/home/u/results", ".", "/home/u/results"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithDefaultExt(c.Path, c.Ext), c.Expected) << c.Path << " + " << c.Ext;
    }
}

TEST(FileDialogRules, ProposedNamesUpTo260CharactersFit) {
    EXPECT_TRUE(ProposedNameFits(""));
    EXPECT_TRUE(ProposedNameFits(std::string(260, 'a')));
    EXPECT_FALSE(ProposedNameFits(std::string(261, 'a')));
    // Characters, not bytes: 260 Cyrillic letters are 520 bytes of UTF-8.
    std::string cyrillic;
    for (int i = 0; i < 260; ++i) {
        cyrillic += "ж";
    }
    EXPECT_TRUE(ProposedNameFits(cyrillic));
    EXPECT_FALSE(ProposedNameFits(cyrillic + "ж"));
}

} // namespace
} // namespace stellik::testing
