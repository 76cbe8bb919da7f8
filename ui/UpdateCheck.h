#pragma once
#include <cstdint>
#include <optional>

#include "util/Text.h"

namespace Util {
class ConfigFile;
}

namespace UI {

// The product updater's schedule, as the updater keeps it in its settings
// ("SOFTWARE\Quillex\Updater"): "UpdateInterval" (1 a day, 2 a week, 3 every
// 31 days, anything else never) and "LastUpdateCheckTime" (seconds since
// 1970). A check is due once strictly more than the interval has passed; the
// updater itself, started with "-silent", records its check, never this
// class. [ui-thread]
class UpdateCheck {
public:
    static constexpr const char* SettingsKey = "SOFTWARE\\Quillex\\Updater";
    static constexpr const char* SilentArgument = "-silent";

    // The interval of an "UpdateInterval" value in seconds; none: never.
    static std::optional<uint32_t> intervalSeconds(uint32_t setting);
    static bool due(const Util::ConfigFile& updater, int64_t nowSeconds);
    // Starts "UpdaterPath" when a check is due; true when it started.
    static bool run(const Util::ConfigFile& updater, int64_t nowSeconds);
};

} // namespace UI
