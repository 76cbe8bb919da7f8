#pragma once
#include <string>

namespace Lv2 {

// Where the plug-in core stands: libvo6relay.so in the bundle, beside the
// module that holds this code (the wrapper or its UI). [any-thread]
class CoreLibrary {
public:
    static constexpr const char* FileName = "libvo6relay.so";
    // The core's path; throws std::runtime_error when this module has no file name.
    static std::string besideThisModule();
};

} // namespace Lv2
