#pragma once

#include <string>
#include <string_view>
#include <vector>

// A vCard file cut into its cards and the text between them, so that it can be written back byte
// for byte: Gaps[0] + Cards[0] + Gaps[1] + ... + Cards[n-1] + Gaps[n]. A card runs from its
// BEGIN:VCARD line to the line break after its END:VCARD line; gaps hold only blank lines (and a
// UTF-8 byte order mark at the start).
struct VCardFileContent
{
    std::vector<std::string> Gaps{""};
    std::vector<std::string> Cards;
    std::string Eol = "\r\n"; // the file's first line break, used for new cards
};

// Cuts `content`; raises EContactFileError naming `path` when the content holds a NUL byte, text
// outside a card, or a card without its END:VCARD. An empty file has no cards.
VCardFileContent SplitVCardFile(std::string content, const std::string& path);

std::string JoinVCardFile(const VCardFileContent& file);

// Adds a card at the end, behind a line break when the file ends without one.
void AppendCard(VCardFileContent& file, std::string card);

// Takes the card out; the text around it stays.
void RemoveCard(VCardFileContent& file, size_t index);
