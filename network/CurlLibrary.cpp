#include "network/CurlLibrary.h"

namespace Network {

namespace {

template <typename Function>
void resolve(const Platform::DynamicLibrary* library, const char* name, Function& function)
{
    function = library ? reinterpret_cast<Function>(library->symbol(name)) : nullptr;
}

} // namespace

CurlLibrary::CurlLibrary()
    : library_(Platform::DynamicLibrary::load(FileName, Platform::DynamicLibrary::Lifetime::Process))
{
    resolve(library_.get(), "curl_global_init", globalInit);
    resolve(library_.get(), "curl_easy_init", easyInit);
    resolve(library_.get(), "curl_easy_cleanup", easyCleanup);
    resolve(library_.get(), "curl_easy_setopt", easySetopt);
    resolve(library_.get(), "curl_easy_getinfo", easyGetinfo);
    resolve(library_.get(), "curl_easy_strerror", easyStrerror);
    resolve(library_.get(), "curl_slist_append", slistAppend);
    resolve(library_.get(), "curl_slist_free_all", slistFreeAll);
    resolve(library_.get(), "curl_multi_init", multiInit);
    resolve(library_.get(), "curl_multi_cleanup", multiCleanup);
    resolve(library_.get(), "curl_multi_add_handle", multiAddHandle);
    resolve(library_.get(), "curl_multi_remove_handle", multiRemoveHandle);
    resolve(library_.get(), "curl_multi_perform", multiPerform);
    resolve(library_.get(), "curl_multi_poll", multiPoll);
    resolve(library_.get(), "curl_multi_wakeup", multiWakeup);
    resolve(library_.get(), "curl_multi_info_read", multiInfoRead);
    resolve(library_.get(), "curl_multi_strerror", multiStrerror);
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
