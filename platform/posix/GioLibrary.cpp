#include "platform/posix/GioLibrary.h"

namespace Platform::Posix {

// GLib's and GObject's functions are found through GIO's handle: the loader
// searches the libraries it brought in too.
GioLibrary::GioLibrary() : library_(DynamicLibrary::load(FileName, DynamicLibrary::Lifetime::Process))
{
    DynamicLibrary::resolve(library_.get(), "g_error_free", errorFree);
    DynamicLibrary::resolve(library_.get(), "g_list_append", listAppend);
    DynamicLibrary::resolve(library_.get(), "g_list_free", listFree);
    DynamicLibrary::resolve(library_.get(), "g_object_unref", objectUnref);
    DynamicLibrary::resolve(library_.get(), "g_file_new_for_path", fileNewForPath);
    DynamicLibrary::resolve(library_.get(), "g_file_query_info", fileQueryInfo);
    DynamicLibrary::resolve(library_.get(), "g_file_info_get_content_type", fileInfoGetContentType);
    DynamicLibrary::resolve(library_.get(), "g_app_info_get_default_for_type", appInfoGetDefaultForType);
    DynamicLibrary::resolve(library_.get(), "g_app_info_launch_uris", appInfoLaunchUris);
    DynamicLibrary::resolve(library_.get(), "g_app_info_get_id", appInfoGetId);
}

bool GioLibrary::complete() const
{
    return errorFree && listAppend && listFree && objectUnref && fileNewForPath && fileQueryInfo &&
           fileInfoGetContentType && appInfoGetDefaultForType && appInfoLaunchUris && appInfoGetId;
}

const GioLibrary* GioLibrary::get()
{
    static const GioLibrary library;
    return library.complete() ? &library : nullptr;
}

} // namespace Platform::Posix
