// Members found by name: which member a name finds, and reading every member of a large
// archive by name in time that grows with the members, not with their square.
#include "package/Deflate.h"
#include "package/StreamUnZip.h"
#include "package/StreamZip.h"
#include "package/ZipRecords.h"

#include "tests/support/Growth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace stellik::testing {
namespace {

// An archive of stored members written header by header, so that it may hold names our
// writer refuses: the same name twice, or names that differ only in case.
TMemoryStream StoredArchive(const std::vector<std::pair<std::string, std::string>>& members) {
    std::string bytes;
    std::vector<uint8_t> directory;
    for (const auto& [name, content] : members) {
        TZipMemberHeader member;
        member.Name = name;
        member.Flags = ZipNameFlags(name);
        member.Crc = Crc32(content);
        member.Size = member.CompressedSize = static_cast<uint32_t>(content.size());
        member.Offset = static_cast<uint32_t>(bytes.size());
        std::string header(ZipLocalHeaderSize + name.size(), '\0');
        PutZipLocalHeader(reinterpret_cast<uint8_t*>(header.data()), member);
        bytes += header + content;
        AppendZipCentralHeader(directory, member);
    }
    const auto directoryOffset = static_cast<uint32_t>(bytes.size());
    bytes.append(directory.begin(), directory.end());
    std::string end(ZipEndRecordSize, '\0');
    PutZipEndRecord(reinterpret_cast<uint8_t*>(end.data()), static_cast<uint16_t>(members.size()),
                    static_cast<uint32_t>(directory.size()), directoryOffset);
    return TMemoryStream(bytes + end);
}

TEST(ZipNameIndex, NamesFindTheFirstMemberEqualInAsciiCase) {
    const TMemoryStream archive = StoredArchive({{"scontent.xml", "first"},
                                                 {"SCONTENT.XML", "second"},
                                                 {"dir/pic.gif", "third"},
                                                 {"dir/pic.gif", "fourth"},
                                                 {"Ärger.txt", "fifth"},
                                                 {"x", "sixth"}});
    struct {
        const char* Name;
        const char* Content;
        const char* Why;
    } const cases[] = {
        {"scontent.xml", "first", "the stored name"},
        {"SCONTENT.XML", "first",
         "the first of names equal but for case, though a later one is "
         "equal exactly"},
        {"sContent.Xml", "first", "ASCII letters in any case"},
        {"dir/pic.gif", "third", "the first of equal names"},
        {"DIR/PIC.GIF", "third", ""},
        {"pic.gif", "", "names compare whole, folders included"},
        {"dir\\pic.gif", "", "no separator stands for another"},
        {"Ärger.txt", "fifth", "other letters compare as bytes"},
        {"ÄRGER.TXT", "fifth", ""},
        {"ärger.txt", "", "letters outside ASCII keep their case"},
        {"X", "sixth", ""},
        {"x ", "", "no blanks are dropped"},
        {"", "", "the empty name"},
    };
    TStreamUnZip reader;
    reader.Open(archive);
    for (const auto& c : cases) {
        TMemoryStream out;
        reader.ExtractToStream(c.Name, out);
        EXPECT_EQ(out.View(), c.Content) << "'" << c.Name << "': " << c.Why;
    }
}

TEST(ZipNameIndex, ReadingEveryMemberGrowsWithTheMembers) {
    const auto secondsFor = [](size_t count) {
        TMemoryStream archive;
        std::vector<std::string> names;
        {
            TStreamZip writer;
            writer.Open(archive);
            TMemoryStream empty;
            for (size_t i = 0; i < count; ++i) {
                names.push_back("pictures/picture" + std::to_string(i) + ".gif");
                writer.AddFromStream(names.back(), &empty);
            }
        }
        double best = 1e9;
        for (int run = 0; run < 3; ++run) {
            const auto start = std::chrono::steady_clock::now();
            TStreamUnZip reader;
            reader.Open(archive);
            TMemoryStream out;
            for (const std::string& name : names) {
                reader.ExtractToStream(name, out);
            }
            best = std::min(
                best,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        return best;
    };
    EXPECT_TRUE(ScalesLinearly(secondsFor, 2000));
}

} // namespace
} // namespace stellik::testing
