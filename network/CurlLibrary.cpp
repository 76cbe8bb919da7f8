#include "network/CurlLibrary.h"

namespace Network {

CurlLibrary::CurlLibrary()
    : library_(Platform::DynamicLibrary::load(FileName, Platform::DynamicLibrary::Lifetime::Process))
{
    Platform::DynamicLibrary::resolve(library_.get(), "curl_global_init", globalInit);
    Platform::DynamicLibrary::resolve(library_.get(), "curl_easy_init", easyInit);
    Platform::DynamicLibrary::resolve(library_.get(), "curl_easy_cleanup", easyCleanup);
    Platform::DynamicLibrary::resolve(library_.get(), "curl_easy_setopt", easySetopt);
    Platform::DynamicLibrary::resolve(library_.get(), "curl_easy_getinfo", easyGetinfo);
    Platform::DynamicLibrary::resolve(library_.get(), "curl_easy_strerror", easyStrerror);
    Platform::DynamicLibrary::resolve(library_.get(), "curl_slist_append", slistAppend);
    Platform::DynamicLibrary::resolve(library_.get(), "curl_slist_free_all", slistFreeAll);
    Platform::DynamicLibrary::resolve(library_.get(), "curl_multi_init", multiInit);
    Platform::DynamicLibrary::resolve(library_.get(), "curl_multi_cleanup", multiCleanup);
    Platform::DynamicLibrary::resolve(library_.get(), "curl_multi_add_handle", multiAddHandle);
    Platform::DynamicLibrary::resolve(library_.get(), "curl_multi_remove_handle", multiRemoveHandle);
    Platform::DynamicLibrary::resolve(library_.get(), "curl_multi_perform", multiPerform);
    Platform::DynamicLibrary::resolve(library_.get(), "curl_multi_poll", multiPoll);
    Platform::DynamicLibrary::resolve(library_.get(), "curl_multi_wakeup", multiWakeup);
    Platform::DynamicLibrary::resolve(library_.get(), "curl_multi_info_read", multiInfoRead);
    Platform::DynamicLibrary::resolve(library_.get(), "curl_multi_strerror", multiStrerror);
}

bool CurlLibrary::complete() const
{
    return globalInit && easyInit && easyCleanup && easySetopt && easyGetinfo && easyStrerror && slistAppend &&
           slistFreeAll && multiInit && multiCleanup && multiAddHandle && multiRemoveHandle && multiPerform &&
           multiPoll && multiWakeup && multiInfoRead && multiStrerror;
}

const CurlLibrary* CurlLibrary::get()
{
    static const CurlLibrary library;
    return library.complete() ? &library : nullptr;
}

} // namespace Network
