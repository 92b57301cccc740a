#include "addressbook/ContactFile.h"

#include "addressbook/AddressBookMessages.h"
#include "runtime/TextFile.h"

#include <cerrno>

namespace {

constexpr std::uint64_t MaxFileSize = 256 * 1024 * 1024;

// The German text of a file error, as the text files report it.
std::string Reason(int error, const std::string& path)
{
    return InOutErrorForPath(error, path).Message();
}

} // namespace

FileSnapshot ReadFileSnapshot(const std::string& path)
{
    FileSnapshot snapshot = ReadRegularFile(path, MaxFileSize);
    if (snapshot.Error == ENOENT) return {};
    if (snapshot.Error != 0)
        throw EContactFileError(AddressBookMessages::Unreadable(path, Reason(snapshot.Error, path)));
    if (snapshot.NotRegular) throw EContactFileError(AddressBookMessages::Unreadable(path, "keine Datei"));
    if (snapshot.TooLarge) throw EContactFileError(AddressBookMessages::TooLarge(path));
    return snapshot;
}

void ReplaceContactFile(const std::string& path, std::string_view content)
{
    if (int error = ReplaceFileAtomically(path, content))
        throw EContactFileError(AddressBookMessages::Unwritable(path, Reason(error, path)));
}
