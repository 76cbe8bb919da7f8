#include "core/HostVersion.h"

#include <cctype>
#include <cmath>
#include <mutex>

namespace {
std::mutex rememberedMutex;
std::optional<HostVersion> rememberedVersion;

// The last run of digits and dots with at least one dot, e.g. "11.3.1".
std::optional<HostVersion> parseDotted(const Util::String& text)
{
    std::optional<HostVersion> found;
    size_t i = 0;
    while (i < text.size()) {
        if (!std::isdigit(uint8_t(text[i]))) {
            ++i;
            continue;
        }
        uint32_t parts[3] = {0, 0, 0};
        size_t count = 0;
        while (i < text.size() && count < 3 && std::isdigit(uint8_t(text[i]))) {
            uint32_t n = 0;
            while (i < text.size() && std::isdigit(uint8_t(text[i])))
                n = n * 10 + uint32_t(text[i++] - '0');
            parts[count++] = n;
            if (i + 1 < text.size() && text[i] == '.' && std::isdigit(uint8_t(text[i + 1])))
                ++i;
            else
                break;
        }
        if (count >= 2)
            found = HostVersion{parts[0], parts[1], parts[2]};
        while (i < text.size() && (std::isdigit(uint8_t(text[i])) || text[i] == '.'))
            ++i;
    }
    return found;
}
} // namespace

std::optional<HostVersion> HostVersion::parse(const Util::String& text, float figure)
{
    if (auto dotted = parseDotted(text))
        return dotted;
    if (figure > 0.0f && std::isfinite(figure)) {
        const auto major = uint32_t(std::floor(figure));
        const auto minor = uint32_t(std::lround((double(figure) - major) * 10.0));
        return HostVersion{major, minor, 0};
    }
    return std::nullopt;
}

std::optional<HostVersion> HostVersion::of(const HostContext& context)
{
    if (auto written = parse(context.applicationVersion(), 0.0f))
        return written;
    return remembered();
}

void HostVersion::remember(const HostVersion& version)
{
    std::lock_guard<std::mutex> lock(rememberedMutex);
    rememberedVersion = version;
}

std::optional<HostVersion> HostVersion::remembered()
{
    std::lock_guard<std::mutex> lock(rememberedMutex);
    return rememberedVersion;
}

void HostVersion::forget()
{
    std::lock_guard<std::mutex> lock(rememberedMutex);
    rememberedVersion.reset();
}

bool HostVersion::atMost(uint32_t maj, uint32_t min, uint32_t pat) const
{
    if (major != maj)
        return major < maj;
    if (minor != min)
        return minor < min;
    return patch <= pat;
}
