#include "util/Log.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace Util {

namespace {
std::mutex logMutex;
int captureDepth = 0;
std::vector<String> captured;
std::atomic<bool> echo{true};
} // namespace

void Log::write(const String& message)
{
    std::lock_guard<std::mutex> lock(logMutex);
    if (captureDepth > 0)
        captured.push_back(message);
    if (echo.load())
        std::fprintf(stderr, "[relay] %s\n", message.c_str());
}

void Log::setEcho(bool on) { echo.store(on); }

Log::Capture::Capture()
{
    std::lock_guard<std::mutex> lock(logMutex);
    if (captureDepth++ == 0)
        captured.clear();
}

Log::Capture::~Capture()
{
    std::lock_guard<std::mutex> lock(logMutex);
    --captureDepth;
}

std::vector<String> Log::Capture::messages() const
{
    std::lock_guard<std::mutex> lock(logMutex);
    return captured;
}

bool Log::Capture::contains(const String& fragment) const
{
    for (const auto& m : messages())
        if (m.find(fragment) != String::npos)
            return true;
    return false;
}

} // namespace Util
