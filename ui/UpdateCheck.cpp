#include "ui/UpdateCheck.h"

#include "io/ConfigFile.h"
#include "platform/Shell.h"
#include "util/Log.h"

namespace UI {

std::optional<uint32_t> UpdateCheck::intervalSeconds(uint32_t setting)
{
    switch (setting) {
    case 1: return 86400u;   // a day
    case 2: return 604800u;  // a week
    case 3: return 2678400u; // 31 days
    default: return std::nullopt;
    }
}

// The elapsed time is taken in whole seconds before it becomes a float, so the
// one-second edge holds; a check time in the future is never due.
bool UpdateCheck::due(const Util::ConfigFile& updater, int64_t nowSeconds)
{
    const auto interval = intervalSeconds(updater.GetUInt("UpdateInterval", 0));
    if (!interval)
        return false;
    const int64_t elapsed = nowSeconds - int64_t(updater.GetUInt("LastUpdateCheckTime", 0));
    return float(elapsed) > float(*interval);
}

bool UpdateCheck::run(const Util::ConfigFile& updater, int64_t nowSeconds)
{
    if (!due(updater, nowSeconds))
        return false;
    const Util::String path = updater.GetString("UpdaterPath", "");
    const int32_t answer = Platform::shell().start(path, SilentArgument);
    if (answer <= 32)
        Util::Log::write(Util::format("The updater %1 did not start (%2)", path, answer));
    return answer > 32;
}

} // namespace UI
