// Writes one key into arbitrary bytes taken as user.ini and checks what a write promises: every
// other line keeps its bytes (the last line may only gain its line end), a leading byte order mark
// stays, the written value reads back exactly (line breaks in it as blanks, at most 2047
// characters), and every other key keeps its value.
//
// Input: one byte each for the lengths of the section and the key name, two for that of the value,
// then the three, then the file. Names keep only letters, digits and "_", as the program's own.

#include "runtime/AsciiText.h"
#include "runtime/IniFile.h"

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

void Check(bool condition, const char* what)
{
    if (condition) return;
    fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

class Input
{
public:
    Input(const uint8_t* data, size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

    size_t Number(size_t bytes)
    {
        size_t value = 0;
        for (size_t i = 0; i < bytes && !rest_.empty(); ++i, rest_.remove_prefix(1))
            value = value * 256 + static_cast<unsigned char>(rest_[0]);
        return value;
    }
    std::string_view Take(size_t length)
    {
        std::string_view taken = rest_.substr(0, length);
        rest_.remove_prefix(taken.size());
        return taken;
    }
    std::string_view Rest() const { return rest_; }

private:
    std::string_view rest_;
};

std::string Name(std::string_view bytes)
{
    std::string name;
    for (char c : bytes)
        if (IsAsciiLetterOrDigit(c) || c == '_') name += c;
    return name;
}

// The lines with the "\n" that ends each; the last may have none.
std::vector<std::string_view> RawLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        size_t next = std::min(text.find('\n'), text.size() - 1) + 1;
        lines.push_back(text.substr(0, next));
        text.remove_prefix(next);
    }
    return lines;
}

bool IsLineOfKey(std::string_view line, std::string_view key)
{
    size_t equals = line.find('=');
    return equals != std::string_view::npos && EqualsIgnoreCase(Trim(line.substr(0, equals)), key);
}

// The old file's lines are all in the new one, in order, but for one: the replaced line of the
// key, or the last line, which may gain its line end when lines are added behind it.
void CheckOtherLinesKept(std::string_view before, std::string_view after, std::string_view key)
{
    std::vector<std::string_view> old = RawLines(before), written = RawLines(after);
    size_t common = std::min(old.size(), written.size());
    size_t head = 0, tail = 0;
    while (head < common && old[head] == written[head]) ++head;
    while (tail < common - head && old[old.size() - 1 - tail] == written[written.size() - 1 - tail]) ++tail;
    size_t changed = old.size() - head - tail;
    if (changed == 0) return;
    Check(changed == 1, "more than one old line changed");
    std::string_view line = old[head], now = written[head];
    if (written.size() == old.size()) {
        Check(IsLineOfKey(line, key) && IsLineOfKey(now, key), "a line other than the key's changed");
    } else {
        Check(head == old.size() - 1 && !line.ends_with('\n'), "an old line changed while lines were added");
        Check(now.starts_with(line) && now.ends_with('\n') && now.size() - line.size() <= 2,
              "the last line changed more than its line end");
    }
}

// Up to a few section and key names of the file, as the reader might match them.
void NamesIn(std::string_view content, std::vector<std::string>& sections, std::vector<std::string>& keys)
{
    for (std::string_view line : RawLines(content)) {
        std::string_view text = Trim(line.substr(0, line.find_first_of("\r\n")));
        if (text.starts_with('[') && sections.size() < 6)
            sections.emplace_back(Trim(text.substr(1, text.find(']') - 1)));
        else if (size_t equals = text.find('='); equals != std::string_view::npos && keys.size() < 6)
            keys.emplace_back(Trim(text.substr(0, equals)));
    }
}

std::string ExpectedValue(std::string_view value)
{
    std::string text(value.substr(0, 2047));
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

const std::string& FilePath()
{
    static const std::string path = [] {
        std::string folder =
            (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + std::string("/tp_fuzz_XXXXXX");
        if (!mkdtemp(folder.data())) std::abort();
        return folder + "/user.ini";
    }();
    return path;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input input(data, size);
    size_t sectionLength = input.Number(1) % 16, keyLength = input.Number(1) % 16;
    size_t valueLength = input.Number(2) % 3000;
    const std::string section = Name(input.Take(sectionLength)), key = Name(input.Take(keyLength));
    const std::string value(input.Take(valueLength));
    const std::string before(input.Rest());
    if (section.empty() || key.empty()) return 0;

    std::ofstream(FilePath(), std::ios::binary | std::ios::trunc) << before;
    IniFile ini(FilePath());
    std::vector<std::string> sections, keys;
    NamesIn(before, sections, keys);
    const std::string missing = "\x01missing";
    std::vector<std::string> otherValues;
    for (const std::string& s : sections)
        for (const std::string& k : keys) otherValues.push_back(ini.ReadString(s, k, missing));

    ini.WriteString(section, key, value);
    const std::string after = ReadFile(FilePath());

    Check(!before.starts_with(ByteOrderMark) || after.starts_with(ByteOrderMark), "byte order mark lost");
    Check(ini.ReadString(section, key, missing) == ExpectedValue(value), "value does not read back");
    size_t pair = 0;
    for (const std::string& s : sections)
        for (const std::string& k : keys) {
            bool written = EqualsIgnoreCase(s, section) && EqualsIgnoreCase(k, key);
            Check(written || ini.ReadString(s, k, missing) == otherValues[pair],
                  "another key's value changed");
            ++pair;
        }
    if (before.starts_with(ByteOrderMark))
        CheckOtherLinesKept(std::string_view(before).substr(ByteOrderMark.size()),
                            std::string_view(after).substr(ByteOrderMark.size()), key);
    else
        CheckOtherLinesKept(before, after, key);
    return 0;
}
