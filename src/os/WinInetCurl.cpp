#include "os/WinInetCurl.h"

#include <QByteArray>

#include <mutex>

namespace os {

void InitCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

void VerifyPeerAgainstTrustedCertificates(CURL *curl)
{
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    const QByteArray file = qgetenv(kTrustedCertificatesVariable);
    if (!file.isEmpty()) {
        // CURLOPT_CAINFO copies the text, and no system path is searched beside the file.
        curl_easy_setopt(curl, CURLOPT_CAINFO, file.constData());
        curl_easy_setopt(curl, CURLOPT_CAPATH, nullptr);
    }
}

}
