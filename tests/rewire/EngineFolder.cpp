#include "EngineFolder.h"

#include "support/TestEnvironment.h"

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <stdexcept>

namespace TestSupport {

namespace {
template <typename Function>
Function bound(void* handle, const char* name)
{
    auto* function = reinterpret_cast<Function>(dlsym(handle, name));
    if (!function)
        throw std::runtime_error(std::string("the test engine lacks ") + name);
    return function;
}
} // namespace

EngineFolder::EngineFolder(std::string root)
{
    if (root.empty())
        root = makeTempFolder("common-files-");
    engineFolder_ = root + "/Propellerhead Software/ReWire";
    std::filesystem::create_directories(engineFolder_);
    setenv("RELAY_COMMON_PROGRAM_FILES", root.c_str(), 1);
}

EngineFolder::~EngineFolder() { unsetenv("RELAY_COMMON_PROGRAM_FILES"); }

std::string EngineFolder::install(const std::string& builtEngine, const std::string& name)
{
    // A copy, not a link: each installed file is an image of its own to the loader.
    std::filesystem::copy_file(builtEngine, path(name), std::filesystem::copy_options::overwrite_existing);
    return path(name);
}

void EngineFolder::remove(const std::string& name) { std::filesystem::remove(path(name)); }

EngineControl::EngineControl(const std::string& path) : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
{
    if (!handle_)
        throw std::runtime_error("cannot load the test engine " + path + ": " + dlerror());
    reset_ = bound<TestEngineReset>(handle_, "TestEngine_Reset");
    setAnswer_ = bound<TestEngineSetAnswer>(handle_, "TestEngine_SetAnswer");
    setBytes_ = bound<TestEngineSetBytesAvailable>(handle_, "TestEngine_SetBytesAvailable");
    callCount_ = bound<TestEngineCallCount>(handle_, "TestEngine_CallCount");
    getCall_ = bound<TestEngineGetCall>(handle_, "TestEngine_GetCall");
    reset_();
}

EngineControl::~EngineControl() { dlclose(handle_); }

std::vector<TestEngineCall> EngineControl::calls(int32_t from) const
{
    std::vector<TestEngineCall> recorded;
    TestEngineCall call;
    for (int32_t i = from; getCall_(i, &call); ++i)
        recorded.push_back(call);
    return recorded;
}

std::vector<int32_t> EngineControl::functions(int32_t from) const
{
    std::vector<int32_t> names;
    for (const auto& call : calls(from))
        names.push_back(call.function);
    return names;
}

bool isLoaded(const std::string& path)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

} // namespace TestSupport
