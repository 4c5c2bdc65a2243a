#include "platform/IniFile.h"

#include "platform/CFree.h"
#include "platform/Convert.h"
#include "platform/Files.h"
#include "platform/GLibHandles.h"
#include "platform/MemoryStream.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string_view>
#include <vector>

namespace stellik {

namespace {

using KeyFilePtr = std::unique_ptr<GKeyFile, TCFree<g_key_file_free>>;

// Names the line format can hold: GKeyFile refuses anything else, and a bracket, an equals
// sign or a control character would change the meaning of the line when read back.
bool IsIniName(std::string_view name, bool isKey) {
    if (name.empty() || !g_utf8_validate(name.data(), static_cast<gssize>(name.size()), nullptr)) {
        return false;
    }
    for (const char c : name) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x20 || code == 0x7F || c == '[' || c == ']' || (isKey && c == '=')) {
            return false;
        }
    }
    return !isKey || (name.front() != ' ' && name.back() != ' ');
}

enum class TLoadResult { Loaded, Missing, Unreadable, NotRegular, Damaged };

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";

std::string_view TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The entries of a hand-edited or foreign file as the profile routines see them, as text that
// GKeyFile takes: the byte-order mark, ";" comments, lines without "=", keys outside any
// section and lines naming what a key file cannot hold are dropped, a section line ends at
// its "]", and of keys written twice in a section the first counts. Only entries are kept,
// not comments: GKeyFile files blank lines as comments of the section above them and would
// put new keys after them, so a rewrite would drift from the plain layout (sections one blank
// line apart, keys in the order first written).
std::string ProfileEntries(std::string_view text) {
    if (text.starts_with(Utf8Mark)) {
        text.remove_prefix(Utf8Mark.size());
    }
    std::string result;
    result.reserve(text.size());
    std::string section;
    bool inSection = false;
    std::set<std::string, std::less<>> seenKeys;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        // Trailing blanks belong to the value: values are kept raw.
        line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        if (line.starts_with('[')) {
            const size_t close = line.find(']');
            if (close == std::string_view::npos) {
                continue;
            }
            section = line.substr(1, close - 1);
            // The keys of a section we cannot name go nowhere, not into the one before.
            inSection = IsIniName(section, false);
            if (inSection) {
                result.append(line.substr(0, close + 1)).push_back('\n');
            }
            continue;
        }
        const size_t equals = line.find('=');
        if (!inSection || line.starts_with(';') || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = TrimBlanks(line.substr(0, equals));
        if (!IsIniName(key, true) || !seenKeys.insert(section + '\0' + std::string(key)).second) {
            continue;
        }
        result.append(key).append(line.substr(equals)).push_back('\n');
    }
    return result;
}

// A file that is not text (binary data, UTF-16 text: NUL bytes) is Damaged, as is one that
// GKeyFile still refuses after the cleaning above; one that cannot be read (no permission) is
// Unreadable. Anything but a regular file (a folder, a named pipe, a device, a symbolic link:
// the program's ini files live in its own folders, where no link belongs) is NotRegular.
TLoadResult LoadKeyFile(const std::string& path, GKeyFile* keyFile) {
    using TStatus = TRegularFileContent::TStatus;
    const TRegularFileContent file = ReadRegularFile(path, false);
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
    const std::string_view text = file.Bytes;
    if (text.find('\0') != std::string_view::npos) {
        return TLoadResult::Damaged;
    }
    const std::string entries = ProfileEntries(text);
    return g_key_file_load_from_data(keyFile, entries.data(), entries.size(),
                                     G_KEY_FILE_KEEP_TRANSLATIONS, nullptr)
               ? TLoadResult::Loaded
               : TLoadResult::Damaged;
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
    const KeyFilePtr keyFile(g_key_file_new());
    if (IsIniName(section, false) && IsIniName(key, true) &&
        LoadKeyFile(FileName, keyFile.get()) == TLoadResult::Loaded) {
        const GCharPtr value(
            g_key_file_get_value(keyFile.get(), section.c_str(), key.c_str(), nullptr));
        if (value != nullptr) {
            result = value.get();
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
    KeyFilePtr keyFile(g_key_file_new());
    const TLoadResult loaded = LoadKeyFile(FileName, keyFile.get());
    // An unreadable file is not overwritten (its entries would be lost unseen), nor is a
    // folder, a pipe or a link in its place.
    if (loaded == TLoadResult::Unreadable || loaded == TLoadResult::NotRegular) {
        fail();
    }
    if (loaded == TLoadResult::Damaged) {
        // Kept beside a fresh file, so that neither this write nor any later one is blocked.
        if (g_rename(FileName.c_str(), (FileName + ".bak").c_str()) != 0) {
            fail();
        }
        keyFile.reset(g_key_file_new());
    }
    const std::string line = value.substr(0, value.find_first_of(std::string_view("\0\r\n", 3)));
    g_key_file_set_value(keyFile.get(), section.c_str(), key.c_str(), line.c_str());
    gsize size = 0;
    const GCharPtr data(g_key_file_to_data(keyFile.get(), &size, nullptr));
    if (!WriteWholeFile(FileName, data.get(), size)) {
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
