#include "platform/posix/GioUrlOpener.h"

#include "platform/FileUrl.h"
#include "platform/Shell.h"
#include "platform/posix/GObjectPtr.h"
#include "platform/posix/GioLibrary.h"
#include "util/Log.h"

#include <atomic>

namespace Platform {
namespace Posix {

namespace {

// The deleters run only once GIO is loaded: the objects come from it.
struct ErrorFree {
    void operator()(GError* error) const { GioLibrary::get()->errorFree(error); }
};
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;

// Frees the list cells only; the texts stay their owner's.
struct ListFree {
    void operator()(GList* list) const { GioLibrary::get()->listFree(list); }
};
using ListPtr = std::unique_ptr<GList, ListFree>;

Util::String messageOf(const ErrorPtr& error) { return error ? error->message : "no reason given"; }

// The handler of the file's type as the file's content tells it (its name
// first); nothing for a file that cannot be read.
GObjectPtr<GAppInfo> defaultHandlerFor(const GioLibrary& gio, const Util::String& path)
{
    const GObjectPtr<GFile> file(gio.fileNewForPath(path.c_str()));
    GError* failure = nullptr;
    const GObjectPtr<GFileInfo> info(gio.fileQueryInfo(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                       G_FILE_QUERY_INFO_NONE, nullptr, &failure));
    const ErrorPtr error(failure);
    if (!info)
        return {};
    const char* type = gio.fileInfoGetContentType(info.get());
    return GObjectPtr<GAppInfo>(type ? gio.appInfoGetDefaultForType(type, FALSE) : nullptr);
}

} // namespace

// Without GIO no handler is known.
int32_t GioUrlOpener::openWithDefaultHandler(const Util::String& path, const Util::String& url)
{
    const GioLibrary* gio = GioLibrary::get();
    if (!gio)
        return Shell::NoAssociation;
    const GObjectPtr<GAppInfo> handler = defaultHandlerFor(*gio, path);
    if (!handler)
        return Shell::NoAssociation;
    const ListPtr uris(gio->listAppend(nullptr, const_cast<char*>(url.c_str())));
    GError* failure = nullptr;
    const bool started = gio->appInfoLaunchUris(handler.get(), uris.get(), nullptr, &failure);
    const ErrorPtr error(failure);
    if (started)
        return Shell::Started;
    Util::Log::write(Util::format("Could not start %1 for %2: %3", gio->appInfoGetId(handler.get()), url, messageOf(error)));
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
