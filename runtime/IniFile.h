#pragma once

#include "runtime/Exception.h"

#include <string>
#include <string_view>
#include <vector>

// The file system refused a write: "In <full path> kann nicht geschrieben werden".
class EIniFileError : public Exception
{
public:
    explicit EIniFileError(const std::string& path);
};

// Values for several keys, written by IniFile::Write in one replacement of the file, in the order
// in which they were set.
class IniChanges
{
public:
    struct Change
    {
        std::string Section;
        std::string Key;
        std::string Value;
    };

    IniChanges& SetString(std::string_view section, std::string_view key, std::string_view value);
    IniChanges& SetInteger(std::string_view section, std::string_view key, int value);
    // "1" for true, "0" for false.
    IniChanges& SetBool(std::string_view section, std::string_view key, bool value);

    const std::vector<Change>& List() const { return changes_; }

private:
    std::vector<Change> changes_;
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
// Writing: the line of an existing key gets the new value in place, a new key goes behind the last
// line of its section, a missing section is appended at the end of the file, a missing file is
// created with mode 0600 (an existing one keeps its mode). Every other line keeps its bytes, its
// line end and a leading byte order mark included; added lines end like the file's lines (LF if it
// used LF only, else CR LF). A value of up to 2047 characters reads back exactly as written: line breaks in
// it become blanks, since they would split the line into new keys, and a value that reading would change
// (blanks or tabs at either end, or enclosed in a pair of quotes) is written enclosed in double quotes; any
// other value is written unchanged. The file is replaced atomically (ReplaceFileAtomically), so a
// crash or a full disk never leaves a half-written file. A refused write raises EIniFileError and
// leaves the old file untouched.
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

    // Each writes one key, as Write with that one change.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    // Writes every change in one replacement of the file: all of them or, when refused, none.
    void Write(const IniChanges& changes);

private:
    std::string path_;
};
