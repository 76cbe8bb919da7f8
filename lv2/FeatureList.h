#pragma once
#include <lv2/core/lv2.h>

namespace Lv2 {

// The features a host hands to instantiate(), looked up by URI. The list must
// end with a null pointer; some hosts forget it (lv2file 0.95 passes three
// features and no end), so every entry and its URI is read through a checked
// copy: the search stops at the first entry that cannot be read, and after
// MaxEntries. [instantiation-thread]
class FeatureList {
public:
    static constexpr int MaxEntries = 64;

    explicit FeatureList(const LV2_Feature* const* features) : features_(features) {}

    // The feature's data; null when the host does not give the feature.
    const void* find(const char* uri) const;
    bool has(const char* uri) const;

private:
    bool lookup(const char* uri, const void*& data) const;

    const LV2_Feature* const* features_;
};

} // namespace Lv2
