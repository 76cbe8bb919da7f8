#include "network/CurlLibrary.h"

namespace Network {

CurlLibrary::CurlLibrary()
    : library_(Platform::DynamicLibrary::load(FileName, Platform::DynamicLibrary::Lifetime::Process))
{
    Platform::DynamicLibrary::Resolver resolve(library_.get());
    resolve("curl_global_init", globalInit);
    resolve("curl_easy_init", easyInit);
    resolve("curl_easy_cleanup", easyCleanup);
    resolve("curl_easy_setopt", easySetopt);
    resolve("curl_easy_getinfo", easyGetinfo);
    resolve("curl_easy_strerror", easyStrerror);
    resolve("curl_slist_append", slistAppend);
    resolve("curl_slist_free_all", slistFreeAll);
    resolve("curl_multi_init", multiInit);
    resolve("curl_multi_cleanup", multiCleanup);
    resolve("curl_multi_add_handle", multiAddHandle);
    resolve("curl_multi_remove_handle", multiRemoveHandle);
    resolve("curl_multi_perform", multiPerform);
    resolve("curl_multi_poll", multiPoll);
    resolve("curl_multi_wakeup", multiWakeup);
    resolve("curl_multi_info_read", multiInfoRead);
    resolve("curl_multi_strerror", multiStrerror);
    complete_ = resolve.allFound();
}

const CurlLibrary* CurlLibrary::get()
{
    static const CurlLibrary library;
    return library.complete_ ? &library : nullptr;
}

} // namespace Network
