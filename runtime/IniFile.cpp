#include "runtime/IniFile.h"

#include "runtime/PosixFile.h"
#include "runtime/RuntimeMessages.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t MaxValueLength = 2047;

std::string_view TrimBlanks(std::string_view text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

// The name of a section line ("[name]", blanks allowed around it), or nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line)
{
    line = TrimBlanks(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    return TrimBlanks(line.substr(0, line.find(']')));
}

bool IsKeyLine(std::string_view line, std::string_view key)
{
    size_t equals = line.find('=');
    return equals != std::string_view::npos && SameName(TrimBlanks(line.substr(0, equals)), key);
}

std::string_view ValueOfLine(std::string_view line)
{
    std::string_view value = TrimBlanks(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value.substr(0, MaxValueLength);
}

// The file's content split into lines; the views point into `content`, which must outlive them.
struct IniLines
{
    std::string content;
    std::vector<std::string_view> lines;
    bool lfOnly = false;

    explicit IniLines(std::string text) : content(std::move(text))
    {
        std::string_view rest = content;
        // A byte order mark left by an editor would hide the first section.
        if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3);
        while (!rest.empty()) {
            size_t end = rest.find('\n');
            std::string_view line = rest.substr(0, end);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            lines.push_back(line);
            rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        }
        lfOnly = content.find('\n') != std::string::npos && content.find("\r\n") == std::string::npos;
    }
    IniLines(const IniLines&) = delete;
    IniLines& operator=(const IniLines&) = delete;

    std::optional<size_t> FindSection(std::string_view section) const
    {
        for (size_t i = 0; i < lines.size(); ++i)
            if (auto name = SectionName(lines[i]); name && SameName(*name, section)) return i;
        return std::nullopt;
    }

    // The index of the next section line after `header`, or the number of lines.
    size_t SectionEnd(size_t header) const
    {
        size_t i = header + 1;
        while (i < lines.size() && !SectionName(lines[i])) ++i;
        return i;
    }

    std::optional<size_t> FindKey(size_t header, std::string_view key) const
    {
        for (size_t i = header + 1, end = SectionEnd(header); i < end; ++i)
            if (IsKeyLine(lines[i], key)) return i;
        return std::nullopt;
    }
};

// The whole file, or nullopt when it cannot be opened or read (errno tells why).
std::optional<std::string> ReadWholeFile(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string content;
    bool ok = ReadAll(fd, content);
    int readError = errno;
    ::close(fd);
    errno = readError;
    if (!ok) return std::nullopt;
    return content;
}

std::string WithoutLineBreaks(std::string_view value)
{
    std::string text(value);
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

// The profile rule for integers: "0x"/"0X" and at least one more character is hexadecimal, any other
// text decimal with an optional sign. Anything else, or a value beyond 32 bits, is no integer.
std::optional<int> ProfileInteger(std::string_view text)
{
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
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

std::string JoinLines(const std::vector<std::string_view>& lines, std::string_view lineEnd)
{
    std::string text;
    for (std::string_view line : lines) text.append(line).append(lineEnd);
    return text;
}

} // namespace

EIniFileError::EIniFileError(const std::string& path) : Exception(IniWriteRefusedMessage(path)) {}

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const
{
    std::optional<std::string> content = ReadWholeFile(path_);
    if (!content) return std::string(defaultValue);
    IniLines ini(std::move(*content));
    std::optional<size_t> header = ini.FindSection(section);
    if (!header) return std::string(defaultValue);
    std::optional<size_t> line = ini.FindKey(*header, key);
    if (!line) return std::string(defaultValue);
    return std::string(ValueOfLine(ini.lines[*line]));
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
    std::optional<std::string> content = ReadWholeFile(path_);
    if (!content && errno != ENOENT) throw EIniFileError(path_);
    IniLines ini(content.value_or(std::string()));
    std::string keyLine = std::string(key) + "=" + WithoutLineBreaks(value);
    std::string sectionLine = "[" + std::string(section) + "]";

    std::vector<std::string_view> lines = ini.lines;
    std::optional<size_t> header = ini.FindSection(section);
    if (!header) {
        lines.push_back(sectionLine);
        lines.push_back(keyLine);
    } else if (std::optional<size_t> line = ini.FindKey(*header, key)) {
        lines[*line] = keyLine;
    } else {
        // Behind the section's last line that is not blank, so blank lines keep separating sections.
        size_t last = ini.SectionEnd(*header);
        while (last > *header + 1 && TrimBlanks(lines[last - 1]).empty()) --last;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last), keyLine);
    }
    if (!ReplaceFileAtomically(path_, JoinLines(lines, ini.lfOnly ? "\n" : "\r\n")))
        throw EIniFileError(path_);
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}
