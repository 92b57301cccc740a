#include "mail/IdStack.h"

#include "mail/IdExceptions.h"
#include "runtime/AsciiText.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace {

std::unique_ptr<TIdStack> GSocketLayer;

// The text up to the next dot (or all the rest for the last of the four parts), removed from text.
std::string_view TakeQuadPart(std::string_view& text, bool last)
{
    std::size_t dot = last ? std::string_view::npos : text.find('.');
    std::string_view part = text.substr(0, dot);
    text.remove_prefix(dot == std::string_view::npos ? text.size() : dot + 1);
    return part;
}

bool ReadsAsByte(std::string_view part, std::uint8_t& value)
{
    int number = -1;
    const char* end = part.data() + part.size();
    auto [stop, error] = std::from_chars(part.data(), end, number);
    if (part.empty() || error != std::errc() || stop != end || number < 0 || number > 255) return false;
    value = static_cast<std::uint8_t>(number);
    return true;
}

bool ParseDottedQuad(std::string_view text, std::array<std::uint8_t, 4>& address)
{
    for (int i = 0; i < 4; ++i)
        if (!ReadsAsByte(TakeQuadPart(text, i == 3), address[i])) return false;
    return true;
}

} // namespace

std::vector<std::string> TIdStack::LookupHost(const std::string& host)
{
    if (EqualsIgnoreCase(host, "LOCALHOST")) return {"127.0.0.1"};
    if (IsDottedQuad(host)) return {host};
    std::vector<std::string> addresses;
    if (!HostByName(host, addresses)) CheckSocketResult(-1);
    return addresses;
}

bool TIdStack::IsDottedQuad(std::string_view text)
{
    std::array<std::uint8_t, 4> address{};
    return ParseDottedQuad(text, address);
}

bool TIdStack::NeedsNameLookup(std::string_view host)
{
    return !EqualsIgnoreCase(host, "LOCALHOST") && !IsDottedQuad(host) &&
           VersionOf(host) == TIdIPVersion::IPv4;
}

TIdIPVersion TIdStack::VersionOf(std::string_view address)
{
    return address.find(':') == std::string_view::npos ? TIdIPVersion::IPv4 : TIdIPVersion::IPv6;
}

std::string TIdStack::LocalHostName()
{
    return HostName();
}

bool TIdStack::CheckSocketResult(int result, std::initializer_list<int> tolerated)
{
    if (result != -1) return false;
    const int number = LastError();
    if (std::find(tolerated.begin(), tolerated.end(), number) != tolerated.end()) return true;
    ThrowSocketError(number);
}

void TIdStack::ThrowSocketError(int errorNumber)
{
    throw EIdSocketError(errorNumber);
}

void StartSocketLayer()
{
    if (!GSocketLayer) GSocketLayer = CreatePlatformStack();
}

void StopSocketLayer()
{
    GSocketLayer.reset();
}

bool SocketLayerStarted()
{
    return GSocketLayer != nullptr;
}

TIdStack& SocketLayer()
{
    return *GSocketLayer;
}
