#include "platform/IniFile.h"

#include "platform/Convert.h"
#include "platform/Files.h"
#include "platform/IniLines.h"
#include "platform/MemoryStream.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <string_view>
#include <vector>

namespace stellik {

namespace {

enum class TLoadResult { Loaded, Missing, Unreadable, NotRegular };

// The file's bytes. One that cannot be read (no permission) is Unreadable. Anything but a
// regular file (a folder, a named pipe, a device, a symbolic link: the program's ini files
// live in its own folders, where no link belongs) is NotRegular.
TLoadResult ReadIniText(const std::string& path, std::string& text) {
    using TStatus = TRegularFileContent::TStatus;
    TRegularFileContent file = ReadRegularFile(path, false);
    switch (file.Status) {
    case TStatus::Missing:
        return TLoadResult::Missing;
    case TStatus::NotRegular:
        return TLoadResult::NotRegular;
    case TStatus::Failed:
        return TLoadResult::Unreadable;
    case TStatus::Read:
        break;
    }
    text = std::move(file.Bytes);
    return TLoadResult::Loaded;
}

// Binary data and UTF-16 text (NUL bytes) hold no entries a line can be read from.
bool IsText(std::string_view text) {
    return text.find('\0') == std::string_view::npos;
}

// Written to a temporary file and renamed over the old one, so an interrupted write (a full
// disk, a crash) never leaves a cut-off file that could no longer be read or rewritten.
bool WriteWholeFile(const std::string& path, const char* data, size_t size) {
    return g_file_set_contents_full(path.c_str(), data, static_cast<gssize>(size),
                                    G_FILE_SET_CONTENTS_CONSISTENT, 0666, nullptr) != FALSE;
}

// The length of the longest start of text, at most limit bytes, that ends on a character
// boundary. Stray continuation bytes (text that is not UTF-8) move the cut back by at most
// three bytes, the longest tail a character can have.
size_t Utf8Prefix(std::string_view text, size_t limit) {
    size_t cut = limit;
    while (cut < text.size() && cut + 3 > limit && cut > 0 &&
           (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return cut;
}

constexpr char HexDigits[] = "0123456789ABCDEF";

} // namespace

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
    std::string result = defaultValue;
    std::string text;
    if (IsIniName(section, false) && IsIniName(key, true) &&
        ReadIniText(FileName, text) == TLoadResult::Loaded && IsText(text)) {
        for (const TIniLine& line : SplitIniLines(text)) {
            if (line.Holds(section, key)) {
                result = line.Value;
                break;
            }
        }
    }
    if (result.size() > MaxValueLength) {
        result.resize(Utf8Prefix(result, MaxValueLength));
    }
    return result;
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    const auto fail = [this] { throw EIniFileException("Unable to write to " + FileName); };
    if (!IsIniName(section, false) || !IsIniName(key, true)) {
        fail();
    }
    std::string text;
    const TLoadResult loaded = ReadIniText(FileName, text);
    // An unreadable file is not overwritten (its entries would be lost unseen), nor is a
    // folder, a pipe or a link in its place.
    if (loaded == TLoadResult::Unreadable || loaded == TLoadResult::NotRegular) {
        fail();
    }
    if (loaded == TLoadResult::Loaded && !IsText(text)) {
        // Kept beside a fresh file, so that neither this write nor any later one is blocked.
        if (g_rename(FileName.c_str(), (FileName + ".bak").c_str()) != 0) {
            fail();
        }
        text.clear();
    }
    const std::string_view line =
        std::string_view(value).substr(0, value.find_first_of(std::string_view("\0\r\n", 3)));
    const std::string updated = WithIniValue(text, section, key, line);
    if (!WriteWholeFile(FileName, updated.data(), updated.size())) {
        fail();
    }
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::WriteBinaryStream(const std::string& section, const std::string& key,
                                 const TMemoryStream& value) {
    const std::string_view bytes = value.Remaining();
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text.push_back(HexDigits[byte >> 4]);
        text.push_back(HexDigits[byte & 0x0F]);
    }
    WriteString(section, key, text);
}

size_t TIniFile::ReadBinaryStream(const std::string& section, const std::string& key,
                                  TMemoryStream& value) const {
    const std::string text = ReadString(section, key, "");
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        const int high = HexDigitValue(text[i]);
        const int low = HexDigitValue(text[i + 1]);
        if (high < 0 || low < 0) {
            break;
        }
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    value.Write(bytes.data(), bytes.size());
    return bytes.size();
}

} // namespace stellik
