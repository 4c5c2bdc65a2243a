#include "TestFolders.h"

#include "documents/UserSettings.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/MemoryStream.h"
#include "tests/support/HangGuard.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <vector>

namespace stellik::testing {
namespace {

using namespace std::string_literals;

class IniFile : public TFreshFoldersTest {};

TEST_F(IniFile, KeepsRawValuesInWriteOrder) {
    TIniFile ini(ScratchFolder() + "a.ini");
    EXPECT_EQ(ini.ReadString("S", "Key", "dflt"), "dflt");
    EXPECT_FALSE(FileExists(ini.GetFileName())); // neither creating nor reading makes the file

    ini.WriteString("S", "Name", "x");
    ini.WriteInteger("S", "left", -8);
    ini.WriteBool("Other", "on", true);
    ini.WriteBool("S", "off", false);
    ini.WriteString("S", "Name", "Пётр \\n\t"); // rewritten in place, raw
    ini.WriteString("S", "Empty", "");
    EXPECT_EQ(ReadWholeFile(ini.GetFileName()),
              "[S]\nName=Пётр \\n\t\nleft=-8\noff=0\nEmpty=\n\n[Other]\non=1\n");
    EXPECT_EQ(ini.ReadString("S", "Name", ""), "Пётр \\n\t");
    EXPECT_EQ(ini.ReadString("S", "Empty", "dflt"), "");
    EXPECT_EQ(ini.ReadString("Other", "Name", "dflt"), "dflt");

    // A line break would split the entry: the value ends there and the file stays readable.
    ini.WriteString("S", "Name", "first\r\nleft=injected");
    EXPECT_EQ(ini.ReadString("S", "Name", ""), "first");
    EXPECT_EQ(ini.ReadString("S", "left", ""), "-8");
}

TEST_F(IniFile, BinaryValuesAreUpperCaseHexAndReadsStopAt2047Characters) {
    TIniFile ini(ScratchFolder() + "bin.ini");
    TMemoryStream stream(std::string("\x00\xAB\r\n\xff", 5));
    stream.SetPosition(1); // only the bytes from the position on
    ini.WriteBinaryStream("S", "B", stream);
    ini.WriteBinaryStream("S", "E", TMemoryStream());
    EXPECT_EQ(ReadWholeFile(ini.GetFileName()), "[S]\nB=AB0D0AFF\nE=\n");

    TMemoryStream target(std::string("xyz"));
    target.SetPosition(1);
    EXPECT_EQ(ini.ReadBinaryStream("S", "B", target), 4u);
    EXPECT_EQ(target.View(), "x\xAB\r\n\xff");
    TMemoryStream none;
    EXPECT_EQ(ini.ReadBinaryStream("S", "E", none) + ini.ReadBinaryStream("S", "X", none), 0u);
    ini.WriteString("S", "Hand", "0d0a4Gzz41"); // decoding stops at the first non-hex pair
    EXPECT_EQ(ini.ReadBinaryStream("S", "Hand", none), 2u);
    EXPECT_EQ(none.View(), "\r\n");

    const std::string longText(3000, 'N');
    ini.WriteString("S", "Long", longText);
    EXPECT_EQ(ini.ReadString("S", "Long", ""), longText.substr(0, 2047));
    std::string bytes;
    for (int i = 0; i < 1100; ++i) {
        bytes.push_back(static_cast<char>(i * 7));
    }
    ini.WriteBinaryStream("S", "Bin", TMemoryStream(bytes));
    TMemoryStream back;
    EXPECT_EQ(ini.ReadBinaryStream("S", "Bin", back), 1023u); // the odd 2047th digit is dropped
    EXPECT_EQ(back.View(), bytes.substr(0, 1023));
}

// Names a read could not find again: a write of them changes nothing and raises.
TEST_F(IniFile, RefusedWritesRaiseWithTheFileName) {
    const std::string path = ScratchFolder() + "good.ini";
    const std::string content = "[S]\n;s=v\n#s=w\nKey=k\n";
    WriteWholeFile(path, content);
    const struct {
        std::string Path, Section, Key;
    } cases[] = {
        {ScratchFolder() + "no/such/folder/x.ini", "S", "Key"},
        {path, "Bad]Name", "Key"},
        {path, "", "Key"},
        {path, "S", "K=ey"},
        {path, "S", ";s"}, // the line would be a comment to every read
        {path, "S", "#s"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Path + " [" + c.Section + "] " + c.Key);
        TIniFile ini(c.Path);
        try {
            ini.WriteString(c.Section, c.Key, "value");
            ADD_FAILURE() << "no exception";
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.GetMessage(), "Unable to write to " + c.Path);
        }
        EXPECT_EQ(ini.ReadString(c.Section, c.Key, "dflt"), "dflt");
    }
    EXPECT_EQ(ReadWholeFile(path), content);
}

// Something else where the file should be: reads give the default at once (a named pipe is
// not waited on, a link not followed), writes raise a message that says so and leave it.
TEST_F(IniFile, AnythingButARegularFileIsNeitherReadNorWaitedFor) {
    const std::string target = ScratchFolder() + "target.ini";
    WriteWholeFile(target, "[S]\nKey=v\n");
    const struct {
        const char* What;
        std::function<void(const std::string&)> Make;
        std::filesystem::file_type Type;
    } cases[] = {
        {"a named pipe", [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); },
         std::filesystem::file_type::fifo},
        {"a folder", [](const std::string& path) { std::filesystem::create_directory(path); },
         std::filesystem::file_type::directory},
        {"a link to an ini file",
         [&](const std::string& path) { std::filesystem::create_symlink(target, path); },
         std::filesystem::file_type::symlink},
        {"a link to nothing",
         [](const std::string& path) { std::filesystem::create_symlink(path + ".none", path); },
         std::filesystem::file_type::symlink},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const std::string path = ScratchFolder() + "odd.ini";
        std::filesystem::remove(path);
        c.Make(path);
        const THangGuard guard(20);
        TIniFile ini(path);
        EXPECT_EQ(ini.ReadString("S", "Key", "dflt"), "dflt");
        try {
            ini.WriteString("S", "Key", "new");
            ADD_FAILURE() << "no exception";
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.GetMessage(), "Unable to write to " + path);
        }
        EXPECT_EQ(std::filesystem::symlink_status(path).type(), c.Type);
        EXPECT_FALSE(std::filesystem::exists(path + ".none"));
    }
    EXPECT_EQ(ReadWholeFile(target), "[S]\nKey=v\n");
}

// Files we did not write ourselves: what a read finds in them, and the whole file after one
// write of "[S] New=1", which adds a line and changes no other (".bak" holds the old file when
// it was not text at all).
TEST_F(IniFile, ForeignFilesAreReadLenientlyAndNeverBlockWrites) {
    struct TCase {
        const char* What;
        std::string Content;
        std::string Read; // ReadString("S", "Key", "dflt")
        std::string AfterWrite;
        bool Backup = false;
    };
    const std::string a2046(2046, 'a');
    const std::vector<TCase> cases = {
        {"byte-order mark", "\xEF\xBB\xBF[S]\r\nKey=v\r\n", "v",
         "\xEF\xBB\xBF[S]\r\nKey=v\r\nNew=1\r\n"},
        {"comments", "; by hand\n[S]\n ;Key=x\n#Key=y\nKey=v\n", "v",
         "; by hand\n[S]\n ;Key=x\n#Key=y\nKey=v\nNew=1\n"},
        {"line without equals", "[S]\nnot an entry\nKey = v\n", "v",
         "[S]\nnot an entry\nKey = v\nNew=1\n"},
        {"last line cut after its carriage return", "[S]\r\nKey=v\r", "v",
         "[S]\r\nKey=v\r\nNew=1\r\n"},
        // New lines end as the first line does, whatever the lines before them end with.
        {"line ends that differ", "[S]\r\nKey=v\nA=1\n", "v", "[S]\r\nKey=v\nA=1\nNew=1\r\n"},
        {"blanks before a value, a carriage return after it", "[S]\r\nKey= \tv \r\r\n", "v ",
         "[S]\r\nKey= \tv \r\r\nNew=1\r\n"},
        {"a key named Encoding", "[S]\nEncoding=cp1251\nKey=v\n", "v",
         "[S]\nEncoding=cp1251\nKey=v\nNew=1\n"},
        {"keys before any section", "Key=top\n[T]\nKey=t", "dflt",
         "Key=top\n[T]\nKey=t\n\n[S]\nNew=1\n"},
        {"section line with a comment", "[S] ; main\nKey=v\n", "v", "[S] ; main\nKey=v\nNew=1\n"},
        {"section without entries", "[S]\n; none yet\n", "dflt", "[S]\nNew=1\n; none yet\n"},
        {"key named twice", "[S]\nKey=first\nKey=second\n", "first",
         "[S]\nKey=first\nKey=second\nNew=1\n"},
        {"section named twice", "[S]\nA=1\n\n[T]\n[S]\nKey=v\n", "v",
         "[S]\nA=1\nNew=1\n\n[T]\n[S]\nKey=v\n"},
        // Keys under a section that cannot be named stay out of the section before it.
        {"unnameable section", "[S]\nA=1\n[S\x01]\nKey=x\n[]\nKey=y\n", "dflt",
         "[S]\nA=1\nNew=1\n[S\x01]\nKey=x\n[]\nKey=y\n"},
        {"unnameable key", "[S]\nK[ey=x\nKey=v\n", "v", "[S]\nK[ey=x\nKey=v\nNew=1\n"},
        {"UTF-16 text", "\xFF\xFE[\0S\0]\0\n\0K\0=\0v\0"s, "dflt", "[S]\nNew=1\n", true},
        {"binary", "[S]\nKey=v\0w\n"s, "dflt", "[S]\nNew=1\n", true},
        // The value cut keeps whole characters: 2046 + 2 bytes of "ж", 2046 + 3 of "€".
        {"cut before a two-byte character", "[S]\nKey=" + a2046 + "жж\n", a2046,
         "[S]\nKey=" + a2046 + "жж\nNew=1\n"},
        {"cut before a three-byte character", "[S]\nKey=" + a2046.substr(1) + "€\n",
         a2046.substr(1), "[S]\nKey=" + a2046.substr(1) + "€\nNew=1\n"},
        {"cut after a whole character", "[S]\nKey=" + a2046.substr(1) + "жж\n",
         a2046.substr(1) + "ж", "[S]\nKey=" + a2046.substr(1) + "жж\nNew=1\n"},
        {"cut at 2047 bytes", "[S]\nKey=" + a2046 + "bж\n", a2046 + "b",
         "[S]\nKey=" + a2046 + "bж\nNew=1\n"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        const std::string path = ScratchFolder() + "foreign.ini";
        std::filesystem::remove(path + ".bak");
        WriteWholeFile(path, c.Content);
        TIniFile ini(path);
        EXPECT_EQ(ini.ReadString("S", "Key", "dflt"), c.Read);
        EXPECT_EQ(ReadWholeFile(path), c.Content); // reading changes nothing
        ASSERT_NO_THROW(ini.WriteString("S", "New", "1"));
        EXPECT_EQ(ReadWholeFile(path), c.AfterWrite);
        EXPECT_EQ(FileExists(path + ".bak"), c.Backup);
        if (c.Backup) {
            EXPECT_EQ(ReadWholeFile(path + ".bak"), c.Content);
            ini.WriteString("S", "Next", "2"); // the fresh file takes later writes as usual
            EXPECT_EQ(ini.ReadString("S", "New", ""), "1");
        }
    }
}

// The examinee's file after an administrator's script and a person with an editor have been at
// it: saving the examinee's data changes the lines of those keys and adds the missing ones, and
// every other byte stays where it was, each line with its own end.
TEST_F(IniFile, AWriteChangesOnlyItsOwnLineOfAHandMadeFile) {
    const std::string handMade = "\xEF\xBB\xBF; kept by the school's script\r\n"
                                 "Version=3\r\n"
                                 "\r\n"
                                 "[USER_INFO] ; the examinee\r\n"
                                 "Encoding=cp1251\r\n"
                                 "  FirstName = Old\r\n"
                                 "# LastName=commented out\r\n"
                                 "LastName=Первая\r\n"
                                 "LastName=Вторая\r\n"
                                 "no equals sign here\n"
                                 "\r\n"
                                 "[Other]Keep=precious\r\n"
                                 "Patronymic=of another section\r\n"
                                 "[USER_INFO]\r\n"
                                 "AddInfo=00\r\n"
                                 "[Tail]\tend";
    const std::string path = ScratchFolder() + "Stellik.ini";
    WriteWholeFile(path, handMade);
    TIniFile ini(path);
    TUserSettings user;
    user.Load(ini);
    EXPECT_EQ(user.FirstName, "Old");
    EXPECT_EQ(user.LastName, "Первая");
    EXPECT_EQ(user.Patronymic, "");
    EXPECT_EQ(user.AddInfo, std::string(1, '\0'));

    user = {};
    user.FirstName = "Иван";
    user.LastName = "Петров";
    user.Patronymic = "Ильич";
    user.AddInfo = "A";
    user.SaveInfo = true;
    user.Save(ini);
    ini.WriteInteger("MainFrm", "left", -8);
    EXPECT_EQ(ReadWholeFile(path), "\xEF\xBB\xBF; kept by the school's script\r\n"
                                   "Version=3\r\n"
                                   "\r\n"
                                   "[USER_INFO] ; the examinee\r\n"
                                   "Encoding=cp1251\r\n"
                                   "FirstName=Иван\r\n"
                                   "# LastName=commented out\r\n"
                                   "LastName=Петров\r\n"
                                   "LastName=Вторая\r\n"
                                   "Patronymic=Ильич\r\n"
                                   "no equals sign here\n"
                                   "\r\n"
                                   "[Other]Keep=precious\r\n"
                                   "Patronymic=of another section\r\n"
                                   "[USER_INFO]\r\n"
                                   "AddInfo=41\r\n"
                                   "[Tail]\tend\r\n"
                                   "\r\n"
                                   "[MainFrm]\r\n"
                                   "left=-8\r\n");
    TUserSettings back;
    back.Load(ini);
    EXPECT_EQ(back.FirstName + back.LastName + back.Patronymic + back.AddInfo, "ИванПетровИльичA");
    EXPECT_EQ(ini.ReadString("Other", "Patronymic", ""), "of another section");
    EXPECT_EQ(ini.ReadString("USER_INFO", "Encoding", ""), "cp1251"); // a key like any other
    EXPECT_FALSE(FileExists(path + ".bak"));
}

} // namespace
} // namespace stellik::testing
