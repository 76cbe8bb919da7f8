#pragma once
#include "util/Text.h"

#include <memory>

namespace Platform {

// A shared library loaded at run time, released when the object dies. Each
// object holds one reference of the system's loader: two objects over the
// same file share one loaded image. [any-thread], not audio
class DynamicLibrary {
    struct Handle { // only load() makes one
        void* loaded;
    };

public:
    // How long the image stays: until the last object over it dies, or for the
    // process's life (for a library whose global set-up is never undone).
    enum class Lifetime { UntilReleased, Process };

    // Null when the file is missing or cannot be loaded; no dialog, no throw.
    static std::unique_ptr<DynamicLibrary> load(const Util::String& path, Lifetime lifetime = Lifetime::UntilReleased);
    DynamicLibrary(Handle handle, Util::String path);
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // The address of an exported function or datum; null when it is missing.
    void* symbol(const char* name) const;
    // The exported function `name` as `function`'s type; null when it is
    // missing or there is no library.
    template <typename Function>
    static void resolve(const DynamicLibrary* library, const char* name, Function& function)
    {
        function = library ? reinterpret_cast<Function>(library->symbol(name)) : nullptr;
    }
    const Util::String& path() const { return path_; }

    // Resolves a library's functions one after another and remembers whether
    // every one was found, so that a caller need not list them twice.
    class Resolver {
    public:
        explicit Resolver(const DynamicLibrary* library) : library_(library) {}
        template <typename Function>
        void operator()(const char* name, Function& function)
        {
            resolve(library_, name, function);
            allFound_ = allFound_ && function != nullptr;
        }
        bool allFound() const { return allFound_; }

    private:
        const DynamicLibrary* library_;
        bool allFound_ = true;
    };

private:
    void* handle_;
    Util::String path_;
};

} // namespace Platform
