#include "core/BufferProfilerRegistry.h"

#include "core/BufferProfiler.h"

#include <algorithm>

BufferProfilerRegistry::BufferProfilerRegistry() : nanosecondsPerTick_(clock_.nanosecondsPerTick()) {}

BufferProfilerRegistry& BufferProfilerRegistry::instance()
{
    static BufferProfilerRegistry registry;
    return registry;
}

void BufferProfilerRegistry::add(BufferProfiler& profiler)
{
    const std::lock_guard lock(mutex_);
    profilers_.push_back(&profiler);
}

void BufferProfilerRegistry::remove(BufferProfiler& profiler)
{
    const std::lock_guard lock(mutex_);
    std::erase(profilers_, &profiler);
}

void BufferProfilerRegistry::forEach(const std::function<void(BufferProfiler&)>& visit) const
{
    const std::lock_guard lock(mutex_);
    for (BufferProfiler* p : profilers_)
        visit(*p);
}

size_t BufferProfilerRegistry::count() const
{
    const std::lock_guard lock(mutex_);
    return profilers_.size();
}

void BufferProfilerRegistry::installTimeSource(TimeSource source)
{
    timeSource_.store(source, std::memory_order_relaxed);
    recalibrate();
}

double BufferProfilerRegistry::recalibrate()
{
    const double length = timeSource_.load(std::memory_order_relaxed) ? 1.0 : clock_.nanosecondsPerTick();
    nanosecondsPerTick_.store(length, std::memory_order_relaxed);
    return length;
}

std::vector<BufferProfilerRegistry::Group> BufferProfilerRegistry::groupsLocked() const
{
    std::vector<Group> groups;
    for (BufferProfiler* p : profilers_) {
        if (p->group().empty())
            continue;
        auto it = std::find_if(groups.begin(), groups.end(), [&](const Group& g) { return g.name == p->group(); });
        if (it == groups.end()) {
            groups.push_back({p->group(), {p}, p->parent(), false});
            continue;
        }
        it->members.push_back(p);
        if (p->parent() != it->parent)
            it->inconsistentParent = true;
    }
    return groups;
}

Util::String BufferProfilerRegistry::listText() const
{
    const std::lock_guard lock(mutex_);
    Util::String text = "These are all of the registered profilers.\n";
    const auto groups = groupsLocked();
    for (size_t i = 0; i < groups.size(); ++i) {
        const Group& g = groups[i];
        Util::String names;
        for (const BufferProfiler* p : g.members)
            names += (names.empty() ? "" : ", ") + p->name();
        const Util::String parent = g.parent.empty() ? Util::String() : Util::format(" (parent %1)", g.parent);
        text += Util::format("\nGroup %1%2: %3", i, parent, names);
        if (g.inconsistentParent)
            text += " warning! inconsistent parent within group!";
    }
    for (const BufferProfiler* p : profilers_) {
        if (!p->group().empty())
            continue;
        text += Util::format("\nGlobal: %1", p->name());
        if (!p->parent().empty())
            text += Util::format(" (parent %1)", p->parent());
    }
    return text;
}

std::optional<Util::String> BufferProfilerRegistry::logTextFor(const Util::String& key, bool& isGroup,
                                                                Util::String& found) const
{
    const std::lock_guard lock(mutex_);
    for (const BufferProfiler* p : profilers_) {
        if (p->name() == key) {
            isGroup = false;
            found = p->name();
            return p->logText();
        }
    }
    const bool numeric = !key.empty() && std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
    const auto groups = groupsLocked();
    if (!numeric || key.size() > 9 || std::stoul(key) >= groups.size())
        return std::nullopt;
    const Group& g = groups[std::stoul(key)];
    isGroup = true;
    found = key;
    Util::String text = Util::format("Profiler group %1: ", g.name);
    if (!g.parent.empty())
        text += Util::format("Parent profiler: %1", g.parent);
    text += "\n";
    for (const BufferProfiler* p : g.members)
        text += p->logText();
    return text;
}

void BufferProfilerRegistry::clearLogs()
{
    const std::lock_guard lock(mutex_);
    for (BufferProfiler* p : profilers_)
        p->clearLog();
}
