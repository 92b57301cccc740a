#include "core/ConnectionSettings.h"

#include "core/CoreMessages.h"
#include "runtime/Convert.h"
#include "runtime/Exception.h"

#include <algorithm>

namespace {

bool IsPort(int value)
{
    return value >= 1 && value <= 65535;
}

bool IsSecurity(int value)
{
    return value >= 0 && value <= 2;
}

} // namespace

void CheckConnectionKeys(const TSettings& settings, const ServerConnectionKeys& server)
{
    const int port = settings.*server.Port;
    if (!IsPort(port)) throw EConvertError(InvalidPortMessage(server.Name, std::to_string(port)));
    const int security = settings.*server.Security;
    if (!IsSecurity(security)) throw EConvertError(InvalidSecurityMessage(server.Name, security));
}

int ParsePort(std::string_view text, const ServerConnectionKeys& server)
{
    const std::optional<int> port = TryStrToInt(text);
    if (!port || !IsPort(*port)) throw EConvertError(InvalidPortMessage(server.Name, text));
    return *port;
}

int PortForSecurity(const ServerConnectionKeys& server, int port, int security)
{
    const auto& standard = server.StandardPorts;
    if (!IsSecurity(security) || std::find(standard.begin(), standard.end(), port) == standard.end())
        return port;
    return standard[static_cast<std::size_t>(security)];
}
