#include "lv2/FeatureList.h"

#include <cstring>
#include <sys/uio.h>
#include <unistd.h>

namespace Lv2 {

namespace {

// Copies `size` bytes from `from` within this process; false when any of them
// cannot be read (the kernel answers EFAULT instead of a fault).
bool copyChecked(void* to, const void* from, size_t size)
{
    iovec local{to, size};
    iovec remote{const_cast<void*>(from), size};
    return process_vm_readv(getpid(), &local, 1, &remote, 1, 0) == ssize_t(size);
}

bool sameUri(const char* candidate, const char* uri)
{
    char copy[256];
    const size_t size = std::strlen(uri) + 1;
    if (size > sizeof copy)
        return std::strcmp(candidate, uri) == 0;
    return copyChecked(copy, candidate, size) && std::memcmp(copy, uri, size) == 0;
}

} // namespace

bool FeatureList::lookup(const char* uri, const void*& data) const
{
    if (!features_)
        return false;
    for (int i = 0; i < MaxEntries; ++i) {
        const LV2_Feature* entry = nullptr;
        LV2_Feature feature{};
        if (!copyChecked(&entry, features_ + i, sizeof entry) || !entry ||
            !copyChecked(&feature, entry, sizeof feature) || !feature.URI)
            return false;
        if (sameUri(feature.URI, uri)) {
            data = feature.data;
            return true;
        }
    }
    return false;
}

const void* FeatureList::find(const char* uri) const
{
    const void* data = nullptr;
    return lookup(uri, data) ? data : nullptr;
}

bool FeatureList::has(const char* uri) const
{
    const void* data = nullptr;
    return lookup(uri, data);
}

} // namespace Lv2
