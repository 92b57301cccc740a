#pragma once

#include "runtime/Exception.h"

#include <string>
#include <string_view>
#include <vector>

// A text-file operation failed. The code is the file error number of the program's earlier Windows
// versions (2 file not found, 3 invalid name or missing folder, 5 access denied, 101 disk full, ...)
// and the message its German text.
class EInOutError : public Exception
{
public:
    explicit EInOutError(int errorCode);
    int ErrorCode() const { return errorCode_; }

private:
    int errorCode_;
};

// The file error number of a POSIX errno: ENOENT 2, ENOTDIR 3, EMFILE 4, EACCES/EPERM/EROFS 5,
// ENOSPC 101, any other its own number.
int InOutErrorCodeForErrno(int errnoValue);

// The error for an operation on `path` that failed with `errnoValue`. ENOENT on a path whose folder
// does not exist is 3 ("Ungültiger Dateiname"), as a missing folder was on Windows.
EInOutError InOutErrorForPath(int errnoValue, const std::string& path);

// The lines of a text file without their line ends (CR LF, LF or a lone CR). A last line without a
// line end counts; an empty file has no lines. Opening or reading failures raise EInOutError.
std::vector<std::string> ReadTextLines(const std::string& path);

// Creates or replaces the file, writes `content` and closes it; each step raises EInOutError for
// its own failure, the close included.
void WriteTextFile(const std::string& path, std::string_view content);

// Replaces the file by `content` as a whole (ReplaceFileAtomically; a new file gets the mode the
// umask allows): a failure, a full disk included, raises EInOutError and leaves the old file as it was.
void ReplaceTextFile(const std::string& path, std::string_view content);

// Creates the folder `path` (its parent must exist) unless it exists already; EInOutError when it
// cannot be created.
void CreateFolderIfMissing(const std::string& path);
