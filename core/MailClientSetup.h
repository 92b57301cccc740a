#pragma once

#include "core/Settings.h"
#include "mail/IdPOP3.h"
#include "mail/IdSMTP.h"

// The mail clients as the settings have them, for a send and for "Verbindung testen" alike.

// True when the password goes to a server: to POP3 before SMTP, or to SMTP AUTH.
bool UsesPassword(const TSettings& settings);

// Refuses (EConvertError, CheckConnectionKeys) the connection keys a send uses: SMTP's always,
// POP3's with Pop3First. Called before anything connects.
void CheckConnectionKeysOfSend(const TSettings& settings);

// Host, port, encryption, pinned certificate, account and password from the record, refusing
// unusable connection keys first; SMTP AUTH (PLAIN, else LOGIN) when SMTPAuth is on, none otherwise.
void SetUpSmtp(TIdSMTP& smtp, const TSettings& settings);
void SetUpPop3(TIdPOP3& pop3, const TSettings& settings);
