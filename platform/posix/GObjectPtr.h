#pragma once
#include "platform/posix/GioLibrary.h"

#include <memory>

namespace Platform::Posix {

// Owns one reference of a GObject (or of an interface such as GAppInfo, which
// GObjects implement) and drops it with g_object_unref of the loaded GIO (an
// object exists only once GIO is loaded). Empty for a null answer of GLib.
struct GObjectUnref {
    void operator()(gpointer object) const { GioLibrary::get()->objectUnref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

} // namespace Platform::Posix
