#include "PackageTestSupport.h"

#include "package/StreamUnZip.h"
#include "package/StreamZip.h"
#include "tests/support/Growth.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <optional>

namespace stellik::testing {
namespace {

std::string Extract(const TMemoryStream& archive, const std::string& name) {
    TStreamUnZip reader;
    reader.Open(archive);
    TMemoryStream out;
    reader.ExtractToStream(name, out);
    return std::string(out.View());
}

// Name, method, sizes and time of every member, read with the ZIP library directly, which also
// checks that every local header agrees with the central directory.
struct TMember {
    std::string Name;
    int Method;
    uint64_t Size;
    uint64_t CompressedSize;
    std::time_t Modified; // the DOS date and time, read as local time
};

std::vector<TMember> Members(const TMemoryStream& archive) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_buffer_create(archive.GetMemory(), archive.GetSize(), 0, &error);
    zip_t* zip = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    EXPECT_NE(zip, nullptr) << zip_error_strerror(&error);
    std::vector<TMember> members;
    if (zip == nullptr) {
        zip_source_free(source);
        zip_error_fini(&error);
        return members;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(zip, static_cast<zip_uint64_t>(i), 0, &st);
        // Read strictly, a name is UTF-8 only when its header says so.
        const char* name = zip_get_name(zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_STRICT);
        members.push_back({name, st.comp_method, st.size, st.comp_size, st.mtime});
    }
    zip_discard(zip);
    zip_error_fini(&error);
    return members;
}

// An archive written member by member from (name, content) pairs.
TMemoryStream Archive(const std::vector<std::pair<std::string, std::string>>& members) {
    TMemoryStream archive;
    TStreamZip writer;
    writer.Open(archive);
    TMemoryStream source;
    for (const auto& [name, content] : members) {
        source.Clear();
        source.Write(content);
        source.SetPosition(0);
        writer.AddFromStream(name, &source);
    }
    writer.Close();
    return archive;
}

TEST(StreamZip, MembersRoundTripAndAreFoundIgnoringAsciiCase) {
    const auto pictureBytes = RandomBytes(5000, 9);
    const std::string xml = "<test>" + std::string(3000, 'q') + "</test>";
    const TMemoryStream archive =
        Archive({{"scontent.xml", xml},
                 {"SETTINGS.XML", "<sk-settings/>"},
                 {"pic1.gif", std::string(pictureBytes.begin(), pictureBytes.end())},
                 {"рисунок.gif", "GIF89a"}});
    const auto members = Members(archive);
    ASSERT_EQ(members.size(), 4u);
    EXPECT_EQ(members[1].Name, "SETTINGS.XML");
    EXPECT_EQ(members[3].Name, "рисунок.gif"); // marked as UTF-8
    EXPECT_EQ(Extract(archive, "рисунок.gif"), "GIF89a");
    EXPECT_EQ(Extract(archive, "SCONTENT.XML"), xml);
    EXPECT_EQ(Extract(archive, "settings.xml"), "<sk-settings/>");
    EXPECT_EQ(Extract(archive, "Pic1.GIF"), std::string(pictureBytes.begin(), pictureBytes.end()));
    EXPECT_EQ(Extract(archive, "scontent.xm"), "");
    EXPECT_EQ(Extract(archive, "/scontent.xml"), ""); // names are compared whole

    // Extraction appends at the destination's position; a missing member leaves it alone.
    TStreamUnZip reader;
    reader.Open(archive);
    TMemoryStream out("head:");
    out.SetPosition(5);
    reader.ExtractToStream("settings.xml", out);
    EXPECT_EQ(out.View(), "head:<sk-settings/>");
    reader.ExtractToStream("missing.xml", out);
    EXPECT_EQ(out.View(), "head:<sk-settings/>");
}

TEST(StreamZip, EachMemberIsStoredOrDeflatedByWhatIsSmaller) {
    const auto noise = RandomBytes(200000, 4); // large enough to be deflated in several blocks
    TMemoryStream archive;
    TStreamZip writer;
    writer.Open(archive);
    TMemoryStream empty;
    TMemoryStream same(std::string(1000, 'a'));
    TMemoryStream few("xq");
    TMemoryStream random = StreamOf(noise);
    TMemoryStream tail("skipped:kept");
    tail.SetPosition(8);               // the source is read from its position
    TMemoryStream even("babaabbbaba"); // deflates to exactly its own 11 bytes
    writer.AddFromStream("empty", &empty);
    writer.AddFromStream("same", &same);
    writer.AddFromStream("few", &few);
    writer.AddFromStream("random", &random);
    writer.AddFromStream("tail", &tail);
    writer.AddFromStream("even", &even);
    writer.Close();

    const auto members = Members(archive);
    ASSERT_EQ(members.size(), 6u);
    EXPECT_EQ(members[0].Method, ZIP_CM_STORE);
    EXPECT_EQ(members[0].Size, 0u);
    EXPECT_EQ(members[1].Method, ZIP_CM_DEFLATE);
    EXPECT_LT(members[1].CompressedSize, 100u);
    EXPECT_EQ(members[2].Method, ZIP_CM_STORE);
    EXPECT_EQ(members[3].Method, ZIP_CM_STORE);
    EXPECT_EQ(members[3].CompressedSize, noise.size());
    EXPECT_EQ(Extract(archive, "random"), std::string(noise.begin(), noise.end()));
    EXPECT_EQ(Extract(archive, "tail"), "kept");
    EXPECT_EQ(Extract(archive, "empty"), "");
    // Only a member that grew is stored: one that did not shrink stays deflated.
    EXPECT_EQ(members[5].Method, ZIP_CM_DEFLATE);
    EXPECT_EQ(members[5].CompressedSize, 11u);
    EXPECT_EQ(Extract(archive, "even"), "babaabbbaba");

    // Deflated at the normal level: bits 1 and 2 of the member's flags are clear.
    const TMemoryStream single = Archive({{"same", std::string(1000, 'a')}});
    ASSERT_EQ(Members(single)[0].Method, ZIP_CM_DEFLATE);
    EXPECT_EQ(single.GetMemory()[6] & 0x06, 0);
}

TEST(StreamZip, DuplicatesAndNilStreamsAddNothing) {
    TMemoryStream archive;
    TStreamZip writer;
    writer.Open(archive);
    TMemoryStream first("first");
    TMemoryStream second("second");
    writer.AddFromStream("a.xml", &first);
    const std::vector<uint8_t> before = archive.Bytes();
    writer.AddFromStream("a.xml", &second);
    writer.AddFromStream("A.XML", &second);
    EXPECT_EQ(archive.Bytes(), before);
    try {
        writer.AddFromStream("b.xml", nullptr);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Stream is nil");
    }
    EXPECT_EQ(archive.Bytes(), before);
    writer.Close();
    EXPECT_EQ(Members(archive).size(), 1u);
    EXPECT_EQ(Extract(archive, "a.xml"), "first");
}

TEST(StreamZip, TheStreamHoldsACompleteArchiveAfterEveryAdd) {
    TMemoryStream archive;
    TStreamZip writer;
    writer.Open(archive);
    TMemoryStream source("one");
    writer.AddFromStream("1.txt", &source);
    EXPECT_EQ(Extract(archive, "1.txt"), "one");
    source.Clear();
    source.Write("two"); // the source is free to reuse once the call returned
    source.SetPosition(0);
    writer.AddFromStream("2.txt", &source);
    EXPECT_EQ(Extract(archive, "1.txt"), "one");
    EXPECT_EQ(Extract(archive, "2.txt"), "two");

    const std::vector<uint8_t> complete = archive.Bytes();
    writer.Close();
    writer.Close();
    EXPECT_EQ(archive.Bytes(), complete); // nothing was pending
}

// An add writes the new member and the directory, not the archive again, which would make
// the time grow with the square of the members. Random members, stored, as pictures are.
TEST(StreamZip, AddingCostsTheNewMemberNotTheWholeArchive) {
    const auto member = RandomBytes(16 * 1024, 12);
    const auto add = [&member](size_t count) {
        TMemoryStream archive;
        TStreamZip writer;
        writer.Open(archive);
        TMemoryStream source = StreamOf(member);
        for (size_t i = 0; i < count; ++i) {
            source.SetPosition(0);
            writer.AddFromStream(std::to_string(i), &source);
        }
        writer.Close();
        EXPECT_EQ(Members(archive).size(), count);
    };
    EXPECT_TRUE(ScalesLinearly(BestCpuSeconds(add), 100));
}

// Sets TZ for one test and puts the previous value back.
class TTimeZone {
public:
    explicit TTimeZone(const char* zone) {
        if (const char* previous = std::getenv("TZ")) {
            Previous = previous;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TTimeZone() {
        if (Previous) {
            setenv("TZ", Previous->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    TTimeZone(const TTimeZone&) = delete;
    TTimeZone& operator=(const TTimeZone&) = delete;

private:
    std::optional<std::string> Previous;
};

// A member carries the local date and time it was written at, to the two seconds the DOS
// fields hold (seconds rounded down to even). A zone 14 hours from UTC tells local time from
// UTC, and the date with it for most of the day.
TEST(StreamZip, AMemberCarriesTheLocalTimeItWasWrittenAt) {
    const TTimeZone zone("<+14>-14");
    const std::time_t before = std::time(nullptr);
    const TMemoryStream archive = Archive({{"a.xml", "x"}});
    const std::time_t after = std::time(nullptr);
    const auto members = Members(archive);
    ASSERT_EQ(members.size(), 1u);
    EXPECT_GE(members[0].Modified, before - 1);
    EXPECT_LE(members[0].Modified, after);
}

// The format counts members in 16 bits: 65,535 fit, the next one is refused and the archive
// stays as it was.
TEST(StreamZip, TheMemberAfterThe65535thIsRefused) {
    TMemoryStream archive;
    TStreamZip writer;
    writer.Open(archive);
    TMemoryStream empty;
    for (int i = 0; i < 65535; ++i) {
        writer.AddFromStream(std::to_string(i), &empty);
    }
    const std::vector<uint8_t> full = archive.Bytes();
    EXPECT_THAT([&] { writer.AddFromStream("65535", &empty); },
                Raises<EZipError>("ZIP archive too large"));
    EXPECT_TRUE(archive.Bytes() == full) << "the archive changed"; // megabytes: not printed
    writer.Close();
    EXPECT_EQ(Members(archive).size(), 65535u);
}

TEST(StreamZip, ClosingWithoutMembersWritesAnEmptyArchive) {
    TMemoryStream archive;
    {
        TStreamZip neverOpened;
        neverOpened.Close();
    }
    {
        TStreamZip writer;
        writer.Open(archive);
    } // the destructor closes
    ASSERT_EQ(archive.GetSize(), 22u);
    EXPECT_EQ(archive.View().substr(0, 4), "PK\x05\x06");
    EXPECT_TRUE(Members(archive).empty());
    EXPECT_EQ(Extract(archive, "anything"), "");
}

TEST(StreamUnZip, OpenTakesEmptyStreamsAndRejectsOtherData) {
    EXPECT_EQ(Extract(TMemoryStream(), "scontent.xml"), "");
    TStreamUnZip reader;
    EXPECT_THROW(reader.Open(TMemoryStream("this is not an archive at all, not even close")),
                 EZipError);
    TMemoryStream out;
    EXPECT_THROW(reader.ExtractToStream("x", out), Exception); // never opened
}

TEST(StreamUnZip, DamagedMembersAreExtractedWithoutAnError) {
    // A stored member whose data no longer matches its CRC.
    TMemoryStream stored = Archive({{"few", "xq"}, {"other", "zz"}});
    const size_t at = stored.View().find("xq");
    ASSERT_NE(at, std::string_view::npos);
    stored.GetMemory()[at] = 'y';
    EXPECT_EQ(Extract(stored, "few"), "yq");
    EXPECT_EQ(Extract(stored, "other"), "zz");

    // A deflated member with its compressed data overwritten.
    TMemoryStream deflated = Archive({{"text", std::string(5000, 'a') + std::string(5000, 'b')}});
    const TMember member = Members(deflated)[0];
    ASSERT_EQ(member.Method, ZIP_CM_DEFLATE);
    const size_t data = 30 + member.Name.size(); // after the local header (no extra field)
    for (size_t i = data + 4; i + 4 < data + member.CompressedSize; ++i) {
        deflated.GetMemory()[i] = 0xFF;
    }
    std::string out;
    EXPECT_NO_THROW(out = Extract(deflated, "text"));
    EXPECT_NE(out, std::string(5000, 'a') + std::string(5000, 'b'));
}

} // namespace
} // namespace stellik::testing
