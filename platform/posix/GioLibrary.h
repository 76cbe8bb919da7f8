#pragma once
#include "platform/DynamicLibrary.h"

#include <gio/gio.h>
#include <memory>

namespace Platform::Posix {

// GIO (with the GLib and GObject it brings), loaded when the first file URL is
// opened rather than with the plug-in library: a host that never opens the
// help does not map it and its eight libraries. Kept for the process's life:
// GLib's types and threads cannot be unloaded.
class GioLibrary {
public:
    static constexpr const char* FileName = "libgio-2.0.so.0";

    // The library's functions; null when GIO cannot be loaded. [any-thread], not audio
    static const GioLibrary* get();

    GioLibrary(const GioLibrary&) = delete;
    GioLibrary& operator=(const GioLibrary&) = delete;

    decltype(&g_error_free) errorFree = nullptr;
    decltype(&g_list_append) listAppend = nullptr;
    decltype(&g_list_free) listFree = nullptr;
    decltype(&g_object_unref) objectUnref = nullptr;
    decltype(&g_file_new_for_path) fileNewForPath = nullptr;
    decltype(&g_file_query_info) fileQueryInfo = nullptr;
    decltype(&g_file_info_get_content_type) fileInfoGetContentType = nullptr;
    decltype(&g_app_info_get_default_for_type) appInfoGetDefaultForType = nullptr;
    decltype(&g_app_info_launch_uris) appInfoLaunchUris = nullptr;
    decltype(&g_app_info_get_id) appInfoGetId = nullptr;

private:
    GioLibrary();

    std::unique_ptr<DynamicLibrary> library_;
    bool complete_ = false; // every function above was found
};

} // namespace Platform::Posix
