#include "lv2/CoreLibrary.h"

#include <dlfcn.h>
#include <stdexcept>

namespace Lv2 {

std::string CoreLibrary::besideThisModule()
{
    Dl_info info{};
    if (!dladdr(reinterpret_cast<const void*>(&CoreLibrary::besideThisModule), &info) || !info.dli_fname)
        throw std::runtime_error("the LV2 module cannot tell its own file");
    const std::string module = info.dli_fname;
    const auto slash = module.find_last_of('/');
    return (slash == std::string::npos ? std::string(".") : module.substr(0, slash)) + "/" + FileName;
}

} // namespace Lv2
