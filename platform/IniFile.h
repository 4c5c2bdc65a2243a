// platform/IniFile.h -- small ini files kept as key=value lines under [sections]
#pragma once

#include "platform/Exception.h"

#include <cstddef>
#include <string>

namespace stellik {

class TMemoryStream;

// A write that the file system refused: "Unable to write to %s" with the file name.
class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

// An ini file named at construction. Every call reads the file afresh and every write puts the
// whole file back at once, so the object holds no state and creating it touches no file.
// Values are stored raw (no escaping), as the program's other ini readers expect.
// Files edited by hand or written by other programs are read leniently (see TIniLine), and
// of a key given twice in a section the first counts. A write changes the line of that key
// only, or adds one line, or a section at the end: every other line, comments and text it
// cannot read included, stays as it was, byte for byte and with its own line end.
class TIniFile {
public:
    // A value read back is cut to at most this many bytes, never inside a UTF-8 character.
    static constexpr size_t MaxValueLength = 2047;

    explicit TIniFile(std::string fileName) : FileName(std::move(fileName)) {}

    const std::string& GetFileName() const { return FileName; }

    // The raw value, or defaultValue when the file, section or key is missing or the file
    // cannot be read; either way cut as MaxValueLength says. Only a regular file is read: a
    // symbolic link, a folder, a named pipe or a device under the name counts as unreadable.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;

    // Creates the file and the section when missing. A line break ends the value: what follows
    // it cannot be kept on the key's line. A file whose content cannot be read as entries at
    // all (not text) is kept as "<name>.bak" and replaced by a new one. Raises
    // EIniFileException when the file cannot be opened or written, or the section or key
    // cannot be written as a name: "Unable to write to <name>", or "<name> is not a regular
    // file" when something else has the name.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value); // "1" or "0"

    // The bytes from the stream's position to its end, two upper-case hex digits each.
    void WriteBinaryStream(const std::string& section, const std::string& key,
                           const TMemoryStream& value);
    // Decodes the hex value and writes the bytes at the stream's position (advancing it);
    // decoding stops at the first pair that is not hex. Returns the number of bytes written,
    // 0 for an absent or empty value.
    size_t ReadBinaryStream(const std::string& section, const std::string& key,
                            TMemoryStream& value) const;

private:
    std::string FileName;
};

} // namespace stellik
