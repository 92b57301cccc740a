#include "cli/DialogueLog.h"

#include "runtime/AsciiText.h"
#include "runtime/CodePage.h"

namespace {

constexpr const char* Mask = "********";

} // namespace

std::string MaskedLine(const std::string& line, bool answersChallenge)
{
    if (answersChallenge) return Mask;
    if (StartsWithIgnoreCase(line, "PASS ")) return line.substr(0, 5) + Mask;
    if (StartsWithIgnoreCase(line, "AUTH ")) {
        const std::size_t payload = line.find(' ', 5);
        if (payload != std::string::npos) return line.substr(0, payload + 1) + Mask;
    }
    return line;
}

void LogDialogue(TIdTCPConnection& connection, const std::string& protocol, std::ostream& out)
{
    connection.OnLine = [protocol, &out, challenged = false](TIdLineDirection direction,
                                                             const std::string& line) mutable {
        if (direction == TIdLineDirection::Read) {
            challenged = line.starts_with("334");
            out << protocol << " < " << CodePageToUtf8(line) << '\n';
            return;
        }
        out << protocol << " > " << CodePageToUtf8(MaskedLine(line, challenged)) << '\n';
        challenged = false;
    };
}
