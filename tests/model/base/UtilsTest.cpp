#include "model/IntegerList.h"
#include "model/TextUtils.h"
#include "platform/Exception.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <optional>

namespace stellik::testing {
namespace {

TEST(IntegerList, SearchesReplacesAndRefusesIndicesOutsideTheList) {
    TIntegerList list;
    int changes = 0;
    list.OnChange = [&](TIntegerList&) { ++changes; };
    list.Add(5);
    list.Add(7);
    EXPECT_EQ(list.Add(5), 2);
    EXPECT_EQ(list.IndexOf(5), 0);
    EXPECT_EQ(list.IndexOf(6), -1);
    list.SetItem(2, 9);
    list.SetItem(0, 5); // an unchanged value still reports a change
    EXPECT_EQ(list.Values(), (std::vector<int>{5, 7, 9}));
    EXPECT_THROW(list.GetItem(3), EListError);
    EXPECT_THROW(list.SetItem(-1, 1), EListError);
    EXPECT_EQ(changes, 5);
    list.Clear();
    list.Clear(); // so does clearing an empty list
    EXPECT_EQ(changes, 7);
}

TEST(TextUtils, NormalizeSpacesAndXmlEscape) {
    EXPECT_EQ(NormalizeSpaces(u"\ta\r\n b "), u" a b "); // nothing trimmed
    EXPECT_EQ(NormalizeSpaces(std::u16string(u"a\0b", 3)), u"a b");
    EXPECT_EQ(NormalizeSpaces(u"x\u00A0y\v\fz"), u"x\u00A0y\v\fz"); // not blanks here

    EXPECT_EQ(XmlEscape(u"<a & \"b\" 'c'>"), u"&lt;a &amp; &quot;b&quot; 'c'&gt;");
    EXPECT_EQ(XmlEscape(u"&amp;"), u"&amp;amp;");
    EXPECT_EQ(XmlEscape(u"Тест\t\x01 'ok'"), u"Тест\t\x01 'ok'");
}

TEST(TextUtils, RandomNameHasEightDigitsOrCapitals) {
    for (int i = 0; i < 100; ++i) {
        const std::string name = RandomName();
        ASSERT_EQ(name.size(), 8u);
        EXPECT_EQ(name.find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos)
            << name;
    }
}

// Points TMPDIR somewhere else for the life of the object.
class TTempDirOverride {
public:
    explicit TTempDirOverride(const std::string& dir) {
        if (const char* old = std::getenv("TMPDIR")) {
            Saved = old;
        }
        setenv("TMPDIR", dir.c_str(), 1);
    }
    ~TTempDirOverride() { Saved ? setenv("TMPDIR", Saved->c_str(), 1) : unsetenv("TMPDIR"); }

private:
    std::optional<std::string> Saved;
};

// A folder inside root whose path leaves no room for a file name after it: creating a file
// there fails for every user, root included.
std::string FolderWithoutRoomForNames(const std::string& root) {
    constexpr size_t longest = PATH_MAX - 8; // "/" and an eight-letter name go past PATH_MAX
    std::string folder = root;
    while (folder.size() + 1 < longest) {
        folder += "/" + std::string(std::min<size_t>(NAME_MAX, longest - folder.size() - 1), 'd');
        std::filesystem::create_directory(folder);
    }
    return folder;
}

TEST(TextUtils, UniqueTempFileIsCreatedNewAndPrivate) {
    const TScratchFolder folder;
    const std::string dir = folder.Path() + "/";
    {
        TTempDirOverride tmp(dir);
        const std::string first = GetUniqueTempFileName();
        const std::string second = GetUniqueTempFileName();
        EXPECT_NE(first, second);
        for (const std::string& name : {first, second}) {
            EXPECT_EQ(name.rfind(dir, 0), 0u) << name;
            EXPECT_EQ(name.size(), dir.size() + 12);
            EXPECT_EQ(name.substr(name.size() - 4), ".tmp");
            struct stat st {};
            ASSERT_EQ(lstat(name.c_str(), &st), 0) << name;
            EXPECT_TRUE(S_ISREG(st.st_mode));
            EXPECT_EQ(st.st_mode & 0777, 0600u);
            EXPECT_EQ(st.st_size, 0);
        }
    }

    TTempDirOverride full(FolderWithoutRoomForNames(folder.Path()));
    EXPECT_THROW(GetUniqueTempFileName(), Exception);
}

} // namespace
} // namespace stellik::testing
