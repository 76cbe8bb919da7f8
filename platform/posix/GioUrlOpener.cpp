#include "platform/posix/GioUrlOpener.h"

#include "platform/FileUrl.h"
#include "platform/Shell.h"
#include "platform/posix/GObjectPtr.h"
#include "util/Log.h"

#include <gio/gio.h>

#include <atomic>

namespace Platform {
namespace Posix {

namespace {

struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;

// Frees the list cells only; the texts stay their owner's.
struct ListFree {
    void operator()(GList* list) const { g_list_free(list); }
};
using ListPtr = std::unique_ptr<GList, ListFree>;

Util::String messageOf(const ErrorPtr& error) { return error ? error->message : "no reason given"; }

// The handler of the file's type as the file's content tells it (its name
// first); nothing for a file that cannot be read.
GObjectPtr<GAppInfo> defaultHandlerFor(const Util::String& path)
{
    const GObjectPtr<GFile> file(g_file_new_for_path(path.c_str()));
    GError* failure = nullptr;
    const GObjectPtr<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                       G_FILE_QUERY_INFO_NONE, nullptr, &failure));
    const ErrorPtr error(failure);
    if (!info)
        return {};
    const char* type = g_file_info_get_content_type(info.get());
    return GObjectPtr<GAppInfo>(type ? g_app_info_get_default_for_type(type, FALSE) : nullptr);
}

} // namespace

int32_t GioUrlOpener::openWithDefaultHandler(const Util::String& path, const Util::String& url)
{
    const GObjectPtr<GAppInfo> handler = defaultHandlerFor(path);
    if (!handler)
        return Shell::NoAssociation;
    const ListPtr uris(g_list_append(nullptr, const_cast<char*>(url.c_str())));
    GError* failure = nullptr;
    const bool started = g_app_info_launch_uris(handler.get(), uris.get(), nullptr, &failure);
    const ErrorPtr error(failure);
    if (started)
        return Shell::Started;
    Util::Log::write(Util::format("Could not start %1 for %2: %3", g_app_info_get_id(handler.get()), url, messageOf(error)));
    return Shell::AccessDenied;
}

bool GioUrlOpener::openUrl(const Util::String& url)
{
    if (const auto path = pathFromFileUrl(url)) {
        const int32_t answer = openWithDefaultHandler(*path, url);
        if (answer != Shell::NoAssociation)
            return answer > 32;
    }
    return shell().open("open", url, "") > 32;
}

} // namespace Posix

namespace {
Posix::GioUrlOpener systemOpener;
std::atomic<UrlOpener*> installedOpener{nullptr};
} // namespace

UrlOpener& urlOpener()
{
    UrlOpener* opener = installedOpener.load();
    return opener ? *opener : systemOpener;
}

void installUrlOpener(UrlOpener* opener) { installedOpener.store(opener); }

} // namespace Platform
