// A member may not yield more than its directory entry declares: a few kilobytes of deflated
// data would otherwise fill the memory of the player.
#include "PackageTestSupport.h"

#include "package/StreamUnZip.h"
#include "package/StreamZip.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

// An archive of one deflated member whose local header and directory entry declare
// declaredSize instead of the true size.
TMemoryStream ArchiveDeclaring(const std::string& content, uint32_t declaredSize) {
    TMemoryStream archive;
    TStreamZip zip;
    zip.Open(archive);
    TMemoryStream member(content);
    zip.AddFromStream("scontent.xml", &member);
    zip.Close();
    const auto put = [&](size_t at) {
        for (int i = 0; i < 4; ++i) {
            archive.GetMemory()[at + i] = static_cast<uint8_t>(declaredSize >> (8 * i));
        }
    };
    constexpr size_t LocalSizeOffset = 22;
    constexpr size_t DirectorySizeOffset = 24;
    const size_t directory = archive.View().find("PK\x01\x02");
    EXPECT_NE(directory, std::string_view::npos);
    put(LocalSizeOffset);
    put(directory + DirectorySizeOffset);
    return archive;
}

TEST(StreamUnZipBounds, NoMemberYieldsMoreThanItDeclares) {
    const std::string content(4 * 1024 * 1024, 'x'); // deflates to a few kilobytes
    const auto maxSize = static_cast<uint32_t>(TStreamUnZip::MaxMemberSize);
    struct {
        const char* Case;
        uint32_t Declared;
        size_t Expected;
    } const cases[] = {
        {"true size", static_cast<uint32_t>(content.size()), content.size()},
        {"inflates beyond the declared size", 10, 10},
        {"declares nothing", 0, 0},
        {"declares more than the data holds", maxSize, content.size()},
        {"declares more than any member may hold", maxSize + 1, 0},
    };
    for (const auto& c : cases) {
        const TMemoryStream archive = ArchiveDeclaring(content, c.Declared);
        TStreamUnZip reader;
        reader.Open(archive);
        TMemoryStream out;
        reader.ExtractToStream("scontent.xml", out);
        EXPECT_EQ(out.GetSize(), c.Expected) << c.Case;
        EXPECT_TRUE(out.View() == std::string_view(content).substr(0, c.Expected)) << c.Case;
    }
}

} // namespace
} // namespace stellik::testing
