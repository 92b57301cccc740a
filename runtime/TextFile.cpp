#include "runtime/TextFile.h"

#include "runtime/AsciiText.h"
#include "runtime/FileSystem.h"
#include "runtime/RuntimeMessages.h"

#include <cerrno>

EInOutError::EInOutError(int errorCode) : Exception(InOutErrorMessage(errorCode)), errorCode_(errorCode) {}

int InOutErrorCodeForErrno(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT:
        return 2;
    case ENOTDIR:
        return 3;
    case EMFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EROFS:
        return 5;
    case ENOSPC:
        return 101;
    default:
        return errnoValue;
    }
}

EInOutError InOutErrorForPath(int errnoValue, const std::string& path)
{
    if (errnoValue == ENOENT && !FolderExists(FolderOf(path))) return EInOutError(3);
    return EInOutError(InOutErrorCodeForErrno(errnoValue));
}

std::vector<std::string> ReadTextLines(const std::string& path)
{
    std::string content;
    if (int error = ReadWholeFile(path, content)) throw InOutErrorForPath(error, path);
    std::vector<std::string> lines;
    for (size_t pos = 0, next = 0; pos < content.size(); pos = next)
        lines.emplace_back(NextLine(content, pos, next));
    return lines;
}

void WriteTextFile(const std::string& path, std::string_view content)
{
    if (int error = WriteWholeFile(path, content)) throw InOutErrorForPath(error, path);
}

void ReplaceTextFile(const std::string& path, std::string_view content)
{
    if (int error = ReplaceFileAtomically(path, content, NewFileMode::FromUmask))
        throw InOutErrorForPath(error, path);
}

void CreateFolderIfMissing(const std::string& path)
{
    if (int error = CreateFolder(path, NewFileMode::FromUmask)) throw InOutErrorForPath(error, path);
}
