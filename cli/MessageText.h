#pragma once

#include <string>
#include <string_view>

// A message as the command line takes it, made into the text the message box would hold.

// Text read from standard input to its end: one trailing line break (LF or CR LF) dropped.
std::string WithoutTrailingLineBreak(std::string text);

// The UTF-8 text in the code page, every line break (CR LF, LF or a lone CR) as CR LF. Characters
// the code page cannot hold become "?" and are listed in `unmappable`, each once, in order.
std::string MessageInCodePage(std::string_view utf8, std::string& unmappable);
