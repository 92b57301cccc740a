#pragma once

#include "core/Settings.h"

#include <functional>
#include <string>

// Shows a progress text (UTF-8) at once, as the status bar does during a send.
using StatusDisplay = std::function<void(const std::string& text)>;

// "Verbindung testen": reaches the servers of `settings` as a send does, and sends no mail. With
// Pop3First it logs in to the POP3 server and out again; then it connects to the SMTP server,
// greets it (STARTTLS when so set), authenticates when SMTPAuth is on and says "Quit". The SMTP
// server is tried whatever the POP3 server did.
//
// Returns one German text with a paragraph per server: what was reached (the address connected
// to, the TLS version and cipher, the certificate's subject and issuer, the AUTH mechanism,
// "Anmeldung erfolgreich"), or, where a step failed, the error text a send shows. The password
// is the record's as it stands; it appears in no text.
std::string TestConnection(const TSettings& settings, const StatusDisplay& showStatus);
