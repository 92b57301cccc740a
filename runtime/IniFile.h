#pragma once

#include "runtime/Exception.h"

#include <string>
#include <string_view>

// The file system refused a write: "In <full path> kann nicht geschrieben werden".
class EIniFileError : public Exception
{
public:
    explicit EIniFileError(const std::string& path);
};

// Key access to one INI file with the private-profile rules of the program's earlier Windows
// versions. Nothing is cached: every read and every write opens the file by its path.
//
// Reading: section and key names match without regard to case (ASCII); the first matching section
// and, within it, the first matching key count. The value is the text after the first "=", with
// leading and trailing blanks and tabs removed, then one pair of enclosing double or single quotes
// removed, and cut to 2047 characters. A present key with an empty value gives empty text; a missing
// file, section or key gives the default. Lines end in CR LF or LF; lines before the first section,
// lines without "=" and any other junk are skipped.
//
// Writing: the line of an existing key is replaced in place, a new key goes behind the last line of
// its section, a missing section is appended at the end of the file, a missing file is created with
// mode 0600 (an existing one keeps its mode). The file is replaced atomically (temporary file in the
// same folder, flushed to disk, renamed over the old one), so a crash or a full disk never leaves a
// half-written file. The written file keeps its line ends (LF if it used LF only, else CR LF).
// A refused write raises EIniFileError and leaves the old file untouched.
class IniFile
{
public:
    explicit IniFile(std::string path);
    const std::string& Path() const { return path_; }

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // A value of more than two characters beginning with "0x" or "0X" is hexadecimal, any other is
    // decimal with an optional sign; a value that is no 32-bit integer gives the default.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // Read as an integer: 0 is false, any other integer true; no integer gives the default.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Writes the value unchanged behind "key="; line breaks in it become blanks, since they would
    // split the line into new keys.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    // "1" for true, "0" for false.
    void WriteBool(std::string_view section, std::string_view key, bool value);

private:
    std::string path_;
};
