#include "core/SmsDraft.h"

#include "runtime/TextFile.h"

std::string ReadSmsDraft(const std::string& path)
{
    std::string text;
    bool first = true;
    for (const std::string& line : ReadTextLines(path)) {
        if (!first) text += ' ';
        text += line;
        first = false;
    }
    return text;
}

void WriteSmsDraft(const std::string& path, std::string_view text)
{
    std::string content(text);
    content += "\r\n";
    ReplaceTextFile(path, content);
}
