#include "TestFolders.h"

#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/MemoryStream.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace stellik {
namespace {

using namespace stellik::tests;

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

TEST_F(IniFile, RefusedWritesRaiseWithTheFileName) {
    const auto expectRefused = [](const std::string& path, const std::string& section) {
        TIniFile ini(path);
        try {
            ini.WriteString(section, "Key", "value");
            ADD_FAILURE() << "no exception for " << path << " [" << section << "]";
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.GetMessage(), "Unable to write to " + path);
        }
    };
    expectRefused(ScratchFolder() + "no/such/folder/x.ini", "S");
    std::filesystem::create_directory(ScratchFolder() + "dir.ini");
    expectRefused(ScratchFolder() + "dir.ini", "S");
    expectRefused(ScratchFolder() + "good.ini", "Bad]Name");
    expectRefused(ScratchFolder() + "good.ini", "");
    EXPECT_FALSE(FileExists(ScratchFolder() + "good.ini"));

    // A file that does not parse is left alone rather than replaced by our one entry.
    const std::string foreign = "; not ours\n[S]\nline without equals\n";
    WriteWholeFile(ScratchFolder() + "foreign.ini", foreign);
    expectRefused(ScratchFolder() + "foreign.ini", "S");
    EXPECT_EQ(ReadWholeFile(ScratchFolder() + "foreign.ini"), foreign);
    EXPECT_EQ(TIniFile(ScratchFolder() + "foreign.ini").ReadString("S", "Key", "dflt"), "dflt");
}

} // namespace
} // namespace stellik
