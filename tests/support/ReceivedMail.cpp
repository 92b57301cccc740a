#include "tests/support/ReceivedMail.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/TempFolder.h"

#include <vector>

namespace {

// Prints From, To, the decoded Subject, the body and the number of defects, in UTF-8, each
// followed by a NUL byte.
const char* const ReadMessage = R"(
import email, email.policy, sys
with open(sys.argv[1], "rb") as file:
    message = email.message_from_binary_file(file, policy=email.policy.default)
fields = [str(message["From"]), str(message["To"]), str(message["Subject"]), message.get_content(),
          str(len(message.defects))]
sys.stdout.buffer.write("".join(field + "\0" for field in fields).encode("utf-8"))
)";

} // namespace

std::ostream& operator<<(std::ostream& out, const ReceivedMail& mail)
{
    return out << "{From: " << mail.From << " | To: " << mail.To << " | Subject: " << mail.Subject
               << " | Body: " << mail.Body << " | Defects: " << mail.Defects << "}";
}

ReceivedMail ReadAsPythonDoes(const std::string& messageBytes)
{
    TempFolder folder("tickerpost-mail");
    folder.Write("message.eml", messageBytes);
    const std::string output = RunPython(ReadMessage, {folder.File("message.eml")});
    std::vector<std::string> fields;
    for (size_t start = 0, end; (end = output.find('\0', start)) != std::string::npos; start = end + 1)
        fields.push_back(output.substr(start, end - start));
    fields.resize(5);
    return {fields[0], fields[1], fields[2], fields[3], fields[4].empty() ? -1 : std::stoi(fields[4])};
}
