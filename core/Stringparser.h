#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Small text routines on 8-bit text. Positions count from 1; characters compare byte for byte.
// None of them fails: empty and out-of-range arguments have a defined result.

// True when `text` is not empty and equals one of `items` exactly.
bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> items);

// The characters at positions first to last, both included; positions outside the text contribute
// nothing, and last below first gives empty text.
std::string CopyRange(std::string_view text, int first, int last);

// `text` without the characters at positions first to last; last below first removes nothing, a range
// past the end removes only the positions that exist.
std::string DeleteRange(std::string_view text, int first, int last);

// `text` without every occurrence of `sub`, leftmost first and without overlap. An empty `sub`
// leaves the text unchanged.
std::string RemoveString(std::string_view text, std::string_view sub);

// True when every character of `text` is one of `chars`; true for empty text.
bool ConsistsOf(std::string_view text, std::string_view chars);

// `text` with every `oldChar` replaced by `newChar`.
std::string ReplaceChar(std::string_view text, char oldChar, char newChar);

// `text` with `insert` placed before the character at position `pos`. A `pos` outside 1 to the
// length of the text gives the text unchanged: nothing is ever appended at the end.
std::string InsertAt(std::string_view text, std::string_view insert, int pos);
