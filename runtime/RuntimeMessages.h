#pragma once

#include <string>
#include <string_view>

// The fixed German messages of the runtime, gathered in one place.

// A failed integer conversion of the code-page text `text`.
std::string NotAnIntegerMessage(std::string_view text);

// A write to an INI file that the file system refused; `path` is the file's full path.
std::string IniWriteRefusedMessage(const std::string& path);

// The text of a text-file error number: 2, 3, 4, 5, 100, 101 and 106 have their own text, any other
// number reads "E/A-Fehler <n>".
std::string InOutErrorMessage(int errorCode);

// Neither HOME nor the user's passwd entry names an absolute home folder for the per-user files.
std::string HomeFolderUnknownMessage();
