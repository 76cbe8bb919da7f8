#include "platform/posix/GioLibrary.h"

namespace Platform::Posix {

// GLib's and GObject's functions are found through GIO's handle: the loader
// searches the libraries it brought in too.
GioLibrary::GioLibrary() : library_(DynamicLibrary::load(FileName, DynamicLibrary::Lifetime::Process))
{
    DynamicLibrary::Resolver resolve(library_.get());
    resolve("g_error_free", errorFree);
    resolve("g_list_append", listAppend);
    resolve("g_list_free", listFree);
    resolve("g_object_unref", objectUnref);
    resolve("g_file_new_for_path", fileNewForPath);
    resolve("g_file_query_info", fileQueryInfo);
    resolve("g_file_info_get_content_type", fileInfoGetContentType);
    resolve("g_app_info_get_default_for_type", appInfoGetDefaultForType);
    resolve("g_app_info_launch_uris", appInfoLaunchUris);
    resolve("g_app_info_get_id", appInfoGetId);
    complete_ = resolve.allFound();
}

const GioLibrary* GioLibrary::get()
{
    static const GioLibrary library;
    return library.complete_ ? &library : nullptr;
}

} // namespace Platform::Posix
