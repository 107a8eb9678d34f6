#pragma once

#include <curl/curl.h>

// What every libcurl transfer of the internet stand-ins shares: the library set up once, and
// the certificates a TLS peer is verified against.
namespace os {

// The variable that names a file of PEM certificates trusted instead of the system's (a test's
// own authority, a private one); the system's store when unset or empty.
inline constexpr char kTrustedCertificatesVariable[] = "KESTROVA_CA_FILE";

// An answer's header is a few hundred bytes; one that goes on without end fails its request.
inline constexpr long long kMaxAnswerHeaderBytes = 64 * 1024;

void InitCurl();

// Peer and host-name verification on, against the trusted certificates above.
void VerifyPeerAgainstTrustedCertificates(CURL *curl);

}
