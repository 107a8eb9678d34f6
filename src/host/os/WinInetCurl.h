#pragma once

#include <curl/curl.h>

#include <memory>

// What every libcurl transfer of the internet stand-ins shares: the library set up once, the
// owners of its handles, and the certificates a TLS peer is verified against.
namespace os {

// The variable that names a file of PEM certificates trusted instead of the system's (a test's
// own authority, a private one); the system's store when unset or empty.
inline constexpr char kTrustedCertificatesVariable[] = "KESTROVA_CA_FILE";

// An answer's header is a few hundred bytes; one that goes on without end fails its request.
inline constexpr long long kMaxAnswerHeaderBytes = 64 * 1024;

void InitCurl();

// Each handle of the library has one owner, which lets it go through the library as loaded here.
struct CurlEasyCleanup {
    void operator()(CURL *curl) const;
};
struct CurlMultiCleanup {
    void operator()(CURLM *multi) const;
};
struct CurlStringListCleanup {
    void operator()(curl_slist *list) const;
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyCleanup>;
using CurlMulti = std::unique_ptr<CURLM, CurlMultiCleanup>;
using CurlStringList = std::unique_ptr<curl_slist, CurlStringListCleanup>;

// Appends a copy of `text`; false when the library cannot, the list then as it was (the
// library's own append answers null and leaves the list to whoever holds it).
bool AppendString(CurlStringList &list, const char *text);

// Peer and host-name verification on, against the trusted certificates above.
void VerifyPeerAgainstTrustedCertificates(CURL *curl);

}
