// Members found by name: which member a name finds, and reading every member of a large
// archive by name in time that grows with the members, not with their square.
#include "package/Deflate.h"
#include "package/StreamUnZip.h"
#include "package/StreamZip.h"
#include "package/ZipRecords.h"

#include "tests/support/Growth.h"

#include <gtest/gtest.h>

#include <map>
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
    struct TArchive {
        TMemoryStream Bytes;
        std::vector<std::string> Names;
    };
    std::map<size_t, TArchive> archives;
    for (size_t count : {2000, 8000}) {
        TArchive& archive = archives[count];
        TStreamZip writer;
        writer.Open(archive.Bytes);
        TMemoryStream empty;
        for (size_t i = 0; i < count; ++i) {
            archive.Names.push_back("pictures/picture" + std::to_string(i) + ".gif");
            writer.AddFromStream(archive.Names.back(), &empty);
        }
    }
    const auto readEvery = [&](size_t count) {
        TArchive& archive = archives.at(count);
        TStreamUnZip reader;
        reader.Open(archive.Bytes);
        TMemoryStream out;
        for (const std::string& name : archive.Names) {
            reader.ExtractToStream(name, out);
        }
    };
    EXPECT_TRUE(ScalesLinearly(BestCpuSeconds(readEvery), 2000));
}

} // namespace
} // namespace stellik::testing
