#pragma once

#include "core/Settings.h"

#include <array>
#include <string_view>

// The connection keys of one mail server: its port and its encryption (0 none, 1 STARTTLS/STLS,
// 2 SSL/TLS), with the standard port of each encryption.
struct ServerConnectionKeys
{
    std::string_view Name; // "SMTP", "POP3": names the server in messages
    int TSettings::*Port;
    int TSettings::*Security;
    std::array<int, 3> StandardPorts; // by encryption
};

inline constexpr ServerConnectionKeys SmtpConnectionKeys{
    "SMTP", &TSettings::SMTPPort, &TSettings::SMTPSecurity, {25, 587, 465}};
inline constexpr ServerConnectionKeys Pop3ConnectionKeys{
    "POP3", &TSettings::POP3Port, &TSettings::POP3Security, {110, 110, 995}};

// Raises EConvertError with a German message when the record's port of `server` is outside 1 to
// 65535 or its encryption is none of 0, 1 and 2. A value a user.ini can hold but no connection
// can use is refused rather than replaced, so a connection meant to be encrypted never goes plain.
void CheckConnectionKeys(const TSettings& settings, const ServerConnectionKeys& server);

// A port typed as text: a strict integer from 1 to 65535, else EConvertError naming the server.
int ParsePort(std::string_view text, const ServerConnectionKeys& server);

// The port to show after the encryption changed to `security`: a port that holds one of the
// server's standard ports moves to the standard of the new encryption; any other port stays.
int PortForSecurity(const ServerConnectionKeys& server, int port, int security);
