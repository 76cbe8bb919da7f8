#pragma once
#include "platform/DynamicLibrary.h"

#include <curl/curl.h>
#include <memory>

namespace Network {

// libcurl, loaded when the first HTTP exchange needs it rather than with the
// plug-in library: a host that loads the plug-in and never posts anything does
// not map libcurl and its TLS stack. Loaded once and kept for the process's
// life (curl_global_init is never undone, see HttpHelper).
class CurlLibrary {
public:
    static constexpr const char* FileName = "libcurl.so.4";

    // The library's functions; null when libcurl cannot be loaded. [any-thread], not audio
    static const CurlLibrary* get();

    CurlLibrary(const CurlLibrary&) = delete;
    CurlLibrary& operator=(const CurlLibrary&) = delete;

    decltype(&curl_global_init) globalInit = nullptr;
    decltype(&curl_easy_init) easyInit = nullptr;
    decltype(&curl_easy_cleanup) easyCleanup = nullptr;
    decltype(&curl_easy_setopt) easySetopt = nullptr;
    decltype(&curl_easy_getinfo) easyGetinfo = nullptr;
    decltype(&curl_easy_strerror) easyStrerror = nullptr;
    decltype(&curl_slist_append) slistAppend = nullptr;
    decltype(&curl_slist_free_all) slistFreeAll = nullptr;
    decltype(&curl_multi_init) multiInit = nullptr;
    decltype(&curl_multi_cleanup) multiCleanup = nullptr;
    decltype(&curl_multi_add_handle) multiAddHandle = nullptr;
    decltype(&curl_multi_remove_handle) multiRemoveHandle = nullptr;
    decltype(&curl_multi_perform) multiPerform = nullptr;
    decltype(&curl_multi_poll) multiPoll = nullptr;
    decltype(&curl_multi_wakeup) multiWakeup = nullptr;
    decltype(&curl_multi_info_read) multiInfoRead = nullptr;
    decltype(&curl_multi_strerror) multiStrerror = nullptr;

private:
    CurlLibrary();

    std::unique_ptr<Platform::DynamicLibrary> library_;
    bool complete_ = false; // every function above was found
};

} // namespace Network
