#include "platform/IniFile.h"

#include "platform/MemoryStream.h"

#include <glib.h>

#include <memory>
#include <string_view>
#include <vector>

namespace stellik {

namespace {

struct KeyFileFree {
    void operator()(GKeyFile* keyFile) const noexcept { g_key_file_free(keyFile); }
};
using KeyFilePtr = std::unique_ptr<GKeyFile, KeyFileFree>;

struct GFree {
    void operator()(void* memory) const noexcept { g_free(memory); }
};
using GCharPtr = std::unique_ptr<gchar, GFree>;

struct ErrorFree {
    void operator()(GError* error) const noexcept { g_error_free(error); }
};
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;

enum class TLoadResult { Loaded, Missing, Failed };

// Only entries are kept, not comments: GKeyFile files blank lines as comments of the section
// above them and would put new keys after them, so a rewrite would drift from the plain layout
// (sections one blank line apart, keys in the order first written).
TLoadResult LoadKeyFile(const std::string& path, GKeyFile* keyFile) {
    gchar* contents = nullptr;
    gsize length = 0;
    GError* error = nullptr;
    if (!g_file_get_contents(path.c_str(), &contents, &length, &error)) {
        const ErrorPtr holder(error);
        return g_error_matches(error, G_FILE_ERROR, G_FILE_ERROR_NOENT) ? TLoadResult::Missing
                                                                        : TLoadResult::Failed;
    }
    const GCharPtr holder(contents);
    return g_key_file_load_from_data(keyFile, contents, length, G_KEY_FILE_KEEP_TRANSLATIONS,
                                     nullptr)
               ? TLoadResult::Loaded
               : TLoadResult::Failed;
}

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

// Written to a temporary file and renamed over the old one, so an interrupted write (a full
// disk, a crash) never leaves a cut-off file that could no longer be read or rewritten.
bool WriteWholeFile(const std::string& path, const char* data, size_t size) {
    return g_file_set_contents_full(path.c_str(), data, static_cast<gssize>(size),
                                    G_FILE_SET_CONTENTS_CONSISTENT, 0666, nullptr) != FALSE;
}

constexpr char HexDigits[] = "0123456789ABCDEF";

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

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
        result.resize(MaxValueLength);
    }
    return result;
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    const auto fail = [this] { throw EIniFileException("Unable to write to " + FileName); };
    if (!IsIniName(section, false) || !IsIniName(key, true)) {
        fail();
    }
    // A file we cannot read is not overwritten: its other entries would be lost.
    const KeyFilePtr keyFile(g_key_file_new());
    if (LoadKeyFile(FileName, keyFile.get()) == TLoadResult::Failed) {
        fail();
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
        const int high = HexValue(text[i]);
        const int low = HexValue(text[i + 1]);
        if (high < 0 || low < 0) {
            break;
        }
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    value.Write(bytes.data(), bytes.size());
    return bytes.size();
}

} // namespace stellik
