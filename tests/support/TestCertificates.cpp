#include "tests/support/TestCertificates.h"

#include "tests/support/ChildProcess.h"

#include <cstdlib>
#include <stdexcept>

namespace {

const std::string LocalhostNames = "DNS:localhost,IP:127.0.0.1,IP:::1";
const std::vector<std::string> CurrentValidity = {"-days", "30"};

// The smallest configuration `openssl ca` accepts, so that certificates can be dated at will.
std::string CaConfiguration(const TempFolder& folder)
{
    return "[ca]\ndefault_ca = test\n[test]\ndatabase = " + folder.File("index.txt") +
           "\nnew_certs_dir = " + folder.Path() + "\nserial = " + folder.File("serial") +
           "\ndefault_md = sha256\npolicy = any\nunique_subject = no\n"
           "[any]\norganizationName = optional\ncommonName = supplied\n";
}

} // namespace

const TestCertificates& TestCertificates::Get()
{
    static const TestCertificates certificates;
    return certificates;
}

TestCertificates::TestCertificates()
{
    folder_.Write("ca.cnf", CaConfiguration(folder_));
    folder_.Write("index.txt", "");
    folder_.Write("serial", "1000\n");
    MakeCa("ca");
    MakeCa("rogue-ca");
    RunOpenssl({"genpkey", "-algorithm", "EC", "-pkeyopt", "ec_paramgen_curve:P-256", "-out",
                folder_.File("server.key")});
    CaFile = folder_.File("ca.pem");
    Good = Issue("good", "ca", "localhost", LocalhostNames, CurrentValidity);
    UnknownIssuer = Issue("unknown-issuer", "rogue-ca", "localhost", LocalhostNames, CurrentValidity);
    Expired = Issue("expired", "ca", "localhost", LocalhostNames,
                    {"-startdate", "20200101000000Z", "-enddate", "20200201000000Z"});
    NotYetValid = Issue("not-yet-valid", "ca", "localhost", LocalhostNames,
                        {"-startdate", "20400101000000Z", "-enddate", "20400201000000Z"});
    OtherName = Issue("other-name", "ca", "other.example", "DNS:other.example", CurrentValidity);
    SelfSigned = MakeSelfSigned("self-signed");
    ::setenv("SSL_CERT_FILE", CaFile.c_str(), 1);
    ::setenv("SSL_CERT_DIR", folder_.Path().c_str(), 1);
}

void TestCertificates::MakeCa(const std::string& name)
{
    RunOpenssl({"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes", "-days",
                "30", "-subj", "/O=Tickerpost Test/CN=" + name, "-keyout", folder_.File(name + ".key"),
                "-out", folder_.File(name + ".pem")});
}

TestCertificate TestCertificates::Issue(const std::string& name, const std::string& ca,
                                        const std::string& commonName, const std::string& altNames,
                                        const std::vector<std::string>& validity)
{
    const std::string file = folder_.File(name + ".pem");
    folder_.Write(name + ".ext", "subjectAltName=" + altNames + "\n");
    RunOpenssl({"req", "-new", "-key", folder_.File("server.key"), "-subj",
                "/O=Tickerpost Test/CN=" + commonName, "-out", folder_.File(name + ".csr")});
    std::vector<std::string> arguments = {"ca",
                                          "-batch",
                                          "-notext",
                                          "-config",
                                          folder_.File("ca.cnf"),
                                          "-cert",
                                          folder_.File(ca + ".pem"),
                                          "-keyfile",
                                          folder_.File(ca + ".key"),
                                          "-in",
                                          folder_.File(name + ".csr"),
                                          "-out",
                                          file,
                                          "-extfile",
                                          folder_.File(name + ".ext")};
    arguments.insert(arguments.end(), validity.begin(), validity.end());
    RunOpenssl(arguments);
    return {file, folder_.File("server.key"), FingerprintOf(file)};
}

TestCertificate TestCertificates::MakeSelfSigned(const std::string& name)
{
    const std::string file = folder_.File(name + ".pem");
    RunOpenssl({"req", "-x509", "-key", folder_.File("server.key"), "-days", "30", "-subj",
                "/O=Tickerpost Test/CN=localhost", "-addext", "subjectAltName=" + LocalhostNames, "-out",
                file});
    return {file, folder_.File("server.key"), FingerprintOf(file)};
}

std::string TestCertificates::RunOpenssl(std::vector<std::string> arguments) const
{
    arguments.insert(arguments.begin(), "/usr/bin/openssl");
    ChildProcess openssl(arguments, folder_.File("openssl.err"));
    std::string output;
    if (openssl.Wait(output) != 0)
        throw std::runtime_error("openssl " + arguments[1] + " failed: " + openssl.ErrorText());
    return output;
}

// "sha256 Fingerprint=AB:CD:..." gives "AB:CD:...".
std::string TestCertificates::FingerprintOf(const std::string& certificateFile) const
{
    const std::string output =
        RunOpenssl({"x509", "-noout", "-fingerprint", "-sha256", "-in", certificateFile});
    const std::size_t equals = output.find('=');
    return output.substr(equals + 1, output.find_first_of("\r\n", equals) - equals - 1);
}
