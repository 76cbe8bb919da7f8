#include "InstanceRun.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace RelayHost {

namespace {

// The highest channel count the core describes (EntryProtocol::channelConfigurationFor).
constexpr int MaxChannels = 24;

void replaceAll(std::string& text, const std::string& what, const std::string& with)
{
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

// The folder must take a new file, or the file must be writable.
void checkWritable(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path file(path);
    if (fs::is_directory(file, ec))
        throw std::runtime_error("cannot write " + path + ": it is a folder");
    if (fs::exists(file, ec)) {
        if (::access(path.c_str(), W_OK) != 0)
            throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
        return;
    }
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec))
        throw std::runtime_error("cannot write " + path + ": no folder " + folder.string());
    if (::access(folder.c_str(), W_OK) != 0)
        throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
}

} // namespace

InstanceRun::InstanceRun(EntryProtocol::Callback entry, const Wrapper::HostDescription& host, const Options& options,
                         uint32_t number)
    : options_(options), number_(number), inputPath_(expand(options.in, 1, number)), host_(host, options.verbose),
      plugin_(entry, host_, "Relay " + std::to_string(number))
{
}

std::string InstanceRun::expand(std::string pattern, uint32_t pass, uint32_t instance, std::optional<uint32_t> state)
{
    replaceAll(pattern, "{pass}", std::to_string(pass));
    replaceAll(pattern, "{instance}", std::to_string(instance));
    if (state)
        replaceAll(pattern, "{state}", std::to_string(*state));
    return pattern;
}

std::string InstanceRun::outputFor(uint32_t pass) const
{
    if (options_.out.empty())
        return {};
    if (options_.out.find("{pass}") == std::string::npos && pass != options_.passes)
        return {};
    return expand(options_.out, pass, number_);
}

void InstanceRun::prepare()
{
    input_ = SoundFile::read(inputPath_);
    if (input_.channels < 1 || input_.channels > MaxChannels)
        throw std::runtime_error(inputPath_ + " has " + std::to_string(input_.channels) +
                                 " channels; the plug-in core describes 1 to " + std::to_string(MaxChannels));
    for (uint32_t pass = 1; pass <= options_.passes; ++pass)
        if (const std::string out = outputFor(pass); !out.empty())
            checkWritable(out);
}

void InstanceRun::create()
{
    plugin_.create(float(input_.sampleRate), EntryProtocol::channelConfigurationFor(uint32_t(input_.channels)),
                   options_.recording);
    plugin_.activate();
}

void InstanceRun::renderBlocks(SoundFile& sound, bool idleHere, const std::function<void()>& afterBlock)
{
    std::vector<float*> channels(size_t(sound.channels));
    Wrapper::Transport transport{double(options_.position), !options_.stopped};
    const size_t total = sound.frames();
    uint32_t blocks = 0;
    for (size_t offset = 0; offset < total; offset += options_.block) {
        const size_t n = std::min<size_t>(options_.block, total - offset);
        for (int c = 0; c < sound.channels; ++c)
            channels[size_t(c)] = sound.samples[size_t(c)].data() + offset;
        if (plugin_.process(n, channels.data(), transport, options_.flagA, options_.flagB) != 0)
            throw std::runtime_error("selector 22 failed");
        if (transport.playing)
            transport.samplePosition += double(n);
        if (idleHere && options_.idleEvery && ++blocks % options_.idleEvery == 0)
            plugin_.idle();
        if (afterBlock)
            afterBlock();
    }
}

void InstanceRun::renderPass(uint32_t pass, bool idleHere, const std::function<void()>& afterBlock)
{
    if (options_.runStateBefore)
        plugin_.switchRunState(options_.runStateBefore->first, options_.runStateBefore->second);
    if (options_.timelineOffset) {
        const int64_t offset = *options_.timelineOffset;
        plugin_.propertyMessage(EntryProtocol::PropertyId::TimelineOffset, &offset, sizeof offset,
                                Wrapper::PluginInstance::AudioThread);
    }
    SoundFile sound = input_;
    renderBlocks(sound, idleHere, afterBlock);
    if (options_.processingStopped)
        plugin_.processingStopped();
    if (options_.runStateAfter)
        plugin_.switchRunState(options_.runStateAfter->first, options_.runStateAfter->second);
    if (const std::string out = outputFor(pass); !out.empty())
        sound.write(out);
}

void InstanceRun::finish()
{
    plugin_.deactivate();
    plugin_.destroy();
}

std::optional<uint32_t> InstanceRun::shuttleState()
{
    if (!stateIndexKnown_) {
        stateIndex_ = plugin_.secondValueIndex("Shuttle State");
        stateIndexKnown_ = true;
    }
    if (!stateIndex_)
        return std::nullopt;
    return uint32_t(plugin_.secondValue(*stateIndex_));
}

InstanceRun::CaptureReport InstanceRun::captureReport()
{
    using Report = EntryProtocol::Layout::CaptureReport;
    std::vector<char> text(64 * 1024);
    std::array<uint8_t, Report::Size> record{};
    EntryProtocol::writeAddress(record.data(), Report::Text, text.data());
    EntryProtocol::write(record.data(), Report::Capacity, uint32_t(text.size()));
    CaptureReport report;
    if (plugin_.propertyMessage(EntryProtocol::PropertyId::CaptureReport, record.data(), uint32_t(record.size()),
                                Wrapper::PluginInstance::UiThread) != EntryProtocol::Success)
        return report;
    report.answered = true;
    report.outcome = EntryProtocol::CaptureOutcome(EntryProtocol::read(record.data(), Report::Outcome));
    const std::string lines(text.data(), EntryProtocol::read(record.data(), Report::TextSize));
    for (size_t start = 0, end; (end = lines.find('\n', start)) != std::string::npos; start = end + 1)
        report.clips.push_back(lines.substr(start, end - start));
    return report;
}

} // namespace RelayHost
