#include "os/WinInetCurl.h"

#include <QByteArray>

#include <cstdarg>
#include <mutex>

#include <dlfcn.h>

// The transfer library and the TLS libraries it brings cost a start-up of their own (loading,
// relocation, resident pages) that most runs never need: the program is not linked against it.
// Its calls below are its own entry points, loaded at the first of them.
namespace os {

namespace {

constexpr char kLibraryName[] = "libcurl.so.4";

struct Library
{
    CURLcode (*global_init)(long) = nullptr;
    CURL *(*easy_init)() = nullptr;
    void (*easy_cleanup)(CURL *) = nullptr;
    CURLcode (*easy_setopt)(CURL *, CURLoption, ...) = nullptr;
    CURLcode (*easy_getinfo)(CURL *, CURLINFO, ...) = nullptr;
    CURLcode (*easy_perform)(CURL *) = nullptr;
    CURLcode (*easy_pause)(CURL *, int) = nullptr;
    curl_slist *(*slist_append)(curl_slist *, const char *) = nullptr;
    void (*slist_free_all)(curl_slist *) = nullptr;
    CURLM *(*multi_init)() = nullptr;
    CURLMcode (*multi_cleanup)(CURLM *) = nullptr;
    CURLMcode (*multi_add_handle)(CURLM *, CURL *) = nullptr;
    CURLMcode (*multi_remove_handle)(CURLM *, CURL *) = nullptr;
    CURLMcode (*multi_perform)(CURLM *, int *) = nullptr;
    CURLMcode (*multi_poll)(CURLM *, curl_waitfd[], unsigned int, int, int *) = nullptr;
    CURLMsg *(*multi_info_read)(CURLM *, int *) = nullptr;
    bool loaded = false;
};

template <class Function>
bool resolve(void *handle, Function &function, const char *name)
{
    function = reinterpret_cast<Function>(::dlsym(handle, name));
    return function != nullptr;
}

// Loaded once, for the process's life; every entry point or none.
const Library &library()
{
    static Library library;
    static std::once_flag once;
    std::call_once(once, [] {
        void *handle = ::dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            return;
        Library found;
        found.loaded = resolve(handle, found.global_init, "curl_global_init") && resolve(handle, found.easy_init, "curl_easy_init")
                       && resolve(handle, found.easy_cleanup, "curl_easy_cleanup")
                       && resolve(handle, found.easy_setopt, "curl_easy_setopt")
                       && resolve(handle, found.easy_getinfo, "curl_easy_getinfo")
                       && resolve(handle, found.easy_perform, "curl_easy_perform")
                       && resolve(handle, found.easy_pause, "curl_easy_pause")
                       && resolve(handle, found.slist_append, "curl_slist_append")
                       && resolve(handle, found.slist_free_all, "curl_slist_free_all")
                       && resolve(handle, found.multi_init, "curl_multi_init")
                       && resolve(handle, found.multi_cleanup, "curl_multi_cleanup")
                       && resolve(handle, found.multi_add_handle, "curl_multi_add_handle")
                       && resolve(handle, found.multi_remove_handle, "curl_multi_remove_handle")
                       && resolve(handle, found.multi_perform, "curl_multi_perform")
                       && resolve(handle, found.multi_poll, "curl_multi_poll")
                       && resolve(handle, found.multi_info_read, "curl_multi_info_read");
        if (found.loaded)
            library = found;
        else
            ::dlclose(handle);
    });
    return library;
}

}

void InitCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

void CurlEasyCleanup::operator()(CURL *curl) const
{
    curl_easy_cleanup(curl);
}

void CurlMultiCleanup::operator()(CURLM *multi) const
{
    curl_multi_cleanup(multi);
}

void CurlStringListCleanup::operator()(curl_slist *list) const
{
    curl_slist_free_all(list);
}

bool AppendString(CurlStringList &list, const char *text)
{
    curl_slist *const grown = curl_slist_append(list.get(), text);
    if (!grown)
        return false;
    // `grown` is the list's own head once it has one: let go first, or the reset would free it.
    (void)list.release();
    list.reset(grown);
    return true;
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

// Without the library every call fails as the library's own calls fail: no handle, or an error.
CURLcode curl_global_init(long flags)
{
    return os::library().loaded ? os::library().global_init(flags) : CURLE_FAILED_INIT;
}

CURL *curl_easy_init()
{
    return os::library().loaded ? os::library().easy_init() : nullptr;
}

void curl_easy_cleanup(CURL *curl)
{
    if (curl)
        os::library().easy_cleanup(curl);
}

// An option's one argument, passed on as the type its number says it has.
CURLcode curl_easy_setopt(CURL *curl, CURLoption option, ...)
{
    if (!curl)
        return CURLE_BAD_FUNCTION_ARGUMENT;
    va_list arguments;
    va_start(arguments, option);
    CURLcode result;
    if (option < CURLOPTTYPE_OBJECTPOINT)
        result = os::library().easy_setopt(curl, option, va_arg(arguments, long));
    else if (option < CURLOPTTYPE_FUNCTIONPOINT || option >= CURLOPTTYPE_BLOB)
        result = os::library().easy_setopt(curl, option, va_arg(arguments, void *));
    else if (option < CURLOPTTYPE_OFF_T)
        result = os::library().easy_setopt(curl, option, va_arg(arguments, void (*)()));
    else
        result = os::library().easy_setopt(curl, option, va_arg(arguments, curl_off_t));
    va_end(arguments);
    return result;
}

// Every piece of information is answered through one pointer.
CURLcode curl_easy_getinfo(CURL *curl, CURLINFO info, ...)
{
    if (!curl)
        return CURLE_BAD_FUNCTION_ARGUMENT;
    va_list arguments;
    va_start(arguments, info);
    const CURLcode result = os::library().easy_getinfo(curl, info, va_arg(arguments, void *));
    va_end(arguments);
    return result;
}

CURLcode curl_easy_perform(CURL *curl)
{
    return curl ? os::library().easy_perform(curl) : CURLE_BAD_FUNCTION_ARGUMENT;
}

CURLcode curl_easy_pause(CURL *curl, int bitmask)
{
    return curl ? os::library().easy_pause(curl, bitmask) : CURLE_BAD_FUNCTION_ARGUMENT;
}

curl_slist *curl_slist_append(curl_slist *list, const char *text)
{
    return os::library().loaded ? os::library().slist_append(list, text) : nullptr;
}

void curl_slist_free_all(curl_slist *list)
{
    if (list)
        os::library().slist_free_all(list);
}

CURLM *curl_multi_init()
{
    return os::library().loaded ? os::library().multi_init() : nullptr;
}

CURLMcode curl_multi_cleanup(CURLM *multi)
{
    return multi ? os::library().multi_cleanup(multi) : CURLM_BAD_HANDLE;
}

CURLMcode curl_multi_add_handle(CURLM *multi, CURL *curl)
{
    return multi ? os::library().multi_add_handle(multi, curl) : CURLM_BAD_HANDLE;
}

CURLMcode curl_multi_remove_handle(CURLM *multi, CURL *curl)
{
    return multi ? os::library().multi_remove_handle(multi, curl) : CURLM_BAD_HANDLE;
}

CURLMcode curl_multi_perform(CURLM *multi, int *running)
{
    return multi ? os::library().multi_perform(multi, running) : CURLM_BAD_HANDLE;
}

CURLMcode curl_multi_poll(CURLM *multi, curl_waitfd extra[], unsigned int extraCount, int timeoutMs, int *ready)
{
    return multi ? os::library().multi_poll(multi, extra, extraCount, timeoutMs, ready) : CURLM_BAD_HANDLE;
}

CURLMsg *curl_multi_info_read(CURLM *multi, int *queued)
{
    return multi ? os::library().multi_info_read(multi, queued) : nullptr;
}
