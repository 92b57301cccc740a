#pragma once

#include <string>
#include <string_view>

// Draft files: a message saved as a text file in the code page, to be opened and sent later.
// Every file error raises EInOutError with its German text.

// The draft's text: the file's lines joined by single blanks, so a line break saved with a draft
// comes back as a blank; an empty file gives an empty text.
std::string ReadSmsDraft(const std::string& path);

// Creates or replaces the file with the text followed by CR LF, as a whole: a failed save (a full
// disk) leaves the old draft as it was.
void WriteSmsDraft(const std::string& path, std::string_view text);
