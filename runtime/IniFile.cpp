#include "runtime/IniFile.h"

#include "runtime/AsciiText.h"
#include "runtime/FileSystem.h"
#include "runtime/RuntimeMessages.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <deque>
#include <optional>
#include <vector>

namespace {

constexpr size_t MaxValueLength = 2047;

// The name of a section line ("[name]", blanks allowed around it), or nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line)
{
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    return Trim(line.substr(0, line.find(']')));
}

bool IsKeyLine(std::string_view line, std::string_view key)
{
    size_t equals = line.find('=');
    return equals != std::string_view::npos && EqualsIgnoreCase(Trim(line.substr(0, equals)), key);
}

// A value as reading gives it, before the cut to MaxValueLength: blanks and tabs at either end
// removed, then one pair of enclosing quotes.
std::string_view ProfileValue(std::string_view text)
{
    std::string_view value = Trim(text);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

std::string_view ValueOfLine(std::string_view line)
{
    return ProfileValue(line.substr(line.find('=') + 1)).substr(0, MaxValueLength);
}

std::string WithoutLineBreaks(std::string_view value)
{
    std::string text(value);
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

// The text behind "key=" that reads back as `value`, line breaks aside (they become blanks).
std::string StoredValue(std::string_view value)
{
    std::string text = WithoutLineBreaks(value);
    if (ProfileValue(text) != text) return '"' + text + '"';
    return text;
}

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// One line of the file: its text as reading sees it, and the bytes that end it: "\n" or "\r\n", on
// the last line also "\r" or nothing.
struct IniLine
{
    std::string_view text;
    std::string_view end;
};

// The file's content split into lines, changed in memory by Set and joined again by Content. The
// lines' views point into the content and the added texts that it keeps.
class IniLines
{
public:
    explicit IniLines(std::string text) : content_(std::move(text))
    {
        std::string_view rest = content_;
        // A byte order mark left by an editor would hide the first section.
        if (rest.starts_with(ByteOrderMark)) {
            byteOrderMark_ = rest.substr(0, ByteOrderMark.size());
            rest.remove_prefix(ByteOrderMark.size());
        }
        while (!rest.empty()) {
            size_t next = std::min(rest.find('\n'), rest.size() - 1) + 1;
            size_t textLength = next - (rest[next - 1] == '\n' ? 1 : 0);
            if (textLength > 0 && rest[textLength - 1] == '\r') --textLength;
            lines_.push_back({rest.substr(0, textLength), rest.substr(textLength, next - textLength)});
            rest.remove_prefix(next);
        }
        bool lfOnly = content_.find('\n') != std::string::npos && content_.find("\r\n") == std::string::npos;
        newLineEnd_ = lfOnly ? "\n" : "\r\n";
    }
    IniLines(const IniLines&) = delete;
    IniLines& operator=(const IniLines&) = delete;

    // The value of the key, or nullopt when the section or the key is missing.
    std::optional<std::string_view> Value(std::string_view section, std::string_view key) const
    {
        std::optional<size_t> header = FindSection(section);
        if (!header) return std::nullopt;
        std::optional<size_t> line = FindKey(*header, key);
        if (!line) return std::nullopt;
        return ValueOfLine(lines_[*line].text);
    }

    void Set(std::string_view section, std::string_view key, std::string_view value)
    {
        std::string_view keyLine = Keep(std::string(key) + "=" + StoredValue(value));
        std::optional<size_t> header = FindSection(section);
        if (!header) {
            Insert(lines_.size(), Keep("[" + std::string(section) + "]"));
            Insert(lines_.size(), keyLine);
        } else if (std::optional<size_t> line = FindKey(*header, key)) {
            lines_[*line].text = keyLine;
        } else {
            Insert(EndOfSectionContent(*header), keyLine);
        }
    }

    std::string Content() const
    {
        std::string text(byteOrderMark_);
        for (const IniLine& line : lines_) text.append(line.text).append(line.end);
        return text;
    }

private:
    std::optional<size_t> FindSection(std::string_view section) const
    {
        for (size_t i = 0; i < lines_.size(); ++i)
            if (auto name = SectionName(lines_[i].text); name && EqualsIgnoreCase(*name, section)) return i;
        return std::nullopt;
    }

    // The index of the next section line after `header`, or the number of lines.
    size_t SectionEnd(size_t header) const
    {
        size_t i = header + 1;
        while (i < lines_.size() && !SectionName(lines_[i].text)) ++i;
        return i;
    }

    // Behind the section's last line that is not blank, so blank lines keep separating sections.
    size_t EndOfSectionContent(size_t header) const
    {
        size_t last = SectionEnd(header);
        while (last > header + 1 && Trim(lines_[last - 1].text).empty()) --last;
        return last;
    }

    std::optional<size_t> FindKey(size_t header, std::string_view key) const
    {
        for (size_t i = header + 1, end = SectionEnd(header); i < end; ++i)
            if (IsKeyLine(lines_[i].text, key)) return i;
        return std::nullopt;
    }

    std::string_view Keep(std::string text) { return addedTexts_.emplace_back(std::move(text)); }

    void Insert(size_t index, std::string_view text)
    {
        // The last line may lack its line end; reading must still see its text unchanged.
        if (index == lines_.size() && !lines_.empty() && !lines_.back().end.ends_with('\n'))
            lines_.back().end = lines_.back().end.empty() ? newLineEnd_ : "\r\n";
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), {text, newLineEnd_});
    }

    std::string content_;
    std::deque<std::string> addedTexts_;
    std::string_view byteOrderMark_;
    std::vector<IniLine> lines_;
    std::string_view newLineEnd_;
};

// The profile rule for integers: "0x"/"0X" and at least one more character is hexadecimal, any other
// text decimal with an optional sign. Anything else, or a value beyond 32 bits, is no integer.
std::optional<int> ProfileInteger(std::string_view text)
{
    bool hex = text.size() > 2 && StartsWithIgnoreCase(text, "0x");
    bool negative = !hex && !text.empty() && text[0] == '-';
    if (hex)
        text.remove_prefix(2);
    else if (!text.empty() && (text[0] == '+' || text[0] == '-'))
        text.remove_prefix(1);
    // Only digits may follow; from_chars would accept a second minus sign.
    if (text.empty() || text[0] == '-') return std::nullopt;
    long long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, hex ? 16 : 10);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    if (negative) value = -value;
    if (value < INT_MIN || value > INT_MAX) return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

EIniFileError::EIniFileError(const std::string& path) : Exception(IniWriteRefusedMessage(path)) {}

IniChanges& IniChanges::SetString(std::string_view section, std::string_view key, std::string_view value)
{
    changes_.push_back({std::string(section), std::string(key), std::string(value)});
    return *this;
}

IniChanges& IniChanges::SetInteger(std::string_view section, std::string_view key, int value)
{
    return SetString(section, key, std::to_string(value));
}

IniChanges& IniChanges::SetBool(std::string_view section, std::string_view key, bool value)
{
    return SetString(section, key, value ? "1" : "0");
}

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const
{
    std::string content;
    if (ReadWholeFile(path_, content) != 0) return std::string(defaultValue);
    return std::string(IniLines(std::move(content)).Value(section, key).value_or(defaultValue));
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const
{
    return ProfileInteger(ReadString(section, key, "")).value_or(defaultValue);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    Write(IniChanges().SetString(section, key, value));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value)
{
    Write(IniChanges().SetInteger(section, key, value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    Write(IniChanges().SetBool(section, key, value));
}

void IniFile::Write(const IniChanges& changes)
{
    std::string content;
    if (int error = ReadWholeFile(path_, content); error != 0 && error != ENOENT) throw EIniFileError(path_);
    IniLines ini(std::move(content));
    for (const IniChanges::Change& change : changes.List()) ini.Set(change.Section, change.Key, change.Value);
    if (ReplaceFileAtomically(path_, ini.Content()) != 0) throw EIniFileError(path_);
}
