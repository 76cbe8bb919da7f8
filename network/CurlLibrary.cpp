#include "network/CurlLibrary.h"

#include <dlfcn.h>

namespace Network {

namespace {

template <typename Function>
void resolve(void* handle, const char* name, Function& function)
{
    function = handle ? reinterpret_cast<Function>(dlsym(handle, name)) : nullptr;
}

} // namespace

CurlLibrary::CurlLibrary() : handle_(dlopen(FileName, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE))
{
    resolve(handle_, "curl_global_init", globalInit);
    resolve(handle_, "curl_easy_init", easyInit);
    resolve(handle_, "curl_easy_cleanup", easyCleanup);
    resolve(handle_, "curl_easy_setopt", easySetopt);
    resolve(handle_, "curl_easy_getinfo", easyGetinfo);
    resolve(handle_, "curl_easy_strerror", easyStrerror);
    resolve(handle_, "curl_slist_append", slistAppend);
    resolve(handle_, "curl_slist_free_all", slistFreeAll);
    resolve(handle_, "curl_multi_init", multiInit);
    resolve(handle_, "curl_multi_cleanup", multiCleanup);
    resolve(handle_, "curl_multi_add_handle", multiAddHandle);
    resolve(handle_, "curl_multi_remove_handle", multiRemoveHandle);
    resolve(handle_, "curl_multi_perform", multiPerform);
    resolve(handle_, "curl_multi_poll", multiPoll);
    resolve(handle_, "curl_multi_wakeup", multiWakeup);
    resolve(handle_, "curl_multi_info_read", multiInfoRead);
    resolve(handle_, "curl_multi_strerror", multiStrerror);
}

CurlLibrary::~CurlLibrary()
{
    if (handle_)
        dlclose(handle_);
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
