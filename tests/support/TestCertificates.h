#pragma once

#include "tests/support/TempFolder.h"

#include <string>
#include <vector>

// A certificate with its private key (PEM files) and its SHA-256 fingerprint as the openssl
// command prints it (uppercase hex with colons).
struct TestCertificate
{
    std::string CertificateFile;
    std::string KeyFile;
    std::string Fingerprint;
};

// Certificates made with the openssl command, once per test process, in a temporary folder: a test
// CA, which Get() hands to the TLS layer through SSL_CERT_FILE (and an empty SSL_CERT_DIR), and
// server certificates, each for "localhost" with the IP addresses 127.0.0.1 and ::1 unless named
// otherwise. Get() must run before the process's first TLS handshake, since the trust store is
// read then.
class TestCertificates
{
public:
    static const TestCertificates& Get();

    std::string CaFile;
    TestCertificate Good;          // issued by the test CA
    TestCertificate UnknownIssuer; // issued by a CA nobody trusts
    TestCertificate SelfSigned;
    TestCertificate Expired;     // valid in January 2020
    TestCertificate NotYetValid; // valid from 2040
    TestCertificate OtherName;   // for "other.example" only

private:
    TestCertificates();
    void MakeCa(const std::string& name);
    TestCertificate Issue(const std::string& name, const std::string& ca, const std::string& commonName,
                          const std::string& altNames, const std::vector<std::string>& validity);
    TestCertificate MakeSelfSigned(const std::string& name);
    // Its output; std::runtime_error with its error output when it fails.
    std::string RunOpenssl(std::vector<std::string> arguments) const;
    std::string FingerprintOf(const std::string& certificateFile) const;

    TempFolder folder_{"tickerpost-pki"};
};
