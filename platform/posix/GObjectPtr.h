#pragma once
#include <glib-object.h>

#include <memory>

namespace Platform::Posix {

// Owns one reference of a GObject (or of an interface such as GAppInfo, which
// GObjects implement) and drops it with g_object_unref. Empty for a null
// answer of GLib.
struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

} // namespace Platform::Posix
