#include "param/PersistentParamsHolder.h"

#include <algorithm>

namespace Controller {

PersistentParamsHolder& PersistentParamsHolder::shared()
{
    static PersistentParamsHolder holder;
    return holder;
}

std::optional<PersistentParamsHolder::Value> PersistentParamsHolder::GetRemembered(const Util::String& name) const
{
    const auto it = values_.find(name);
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

std::size_t PersistentParamsHolder::GetLiveCount(const Util::String& name) const
{
    return std::size_t(std::count_if(live_.begin(), live_.end(), [&](const Live& live) { return live.name == name; }));
}

void PersistentParamsHolder::Remember(const Util::String& name, const Value& value, const DestructorObserver* from)
{
    values_[name] = value;
    if (spreading_)
        return; // a sibling taking the value over reports it back
    spreading_ = true;
    try {
        // A copy: showing a value may make or destroy parameters.
        const std::vector<Live> live = live_;
        for (const auto& other : live)
            if (other.name == name && other.param != from)
                other.show(value);
    } catch (...) {
        spreading_ = false;
        throw;
    }
    spreading_ = false;
}

void PersistentParamsHolder::Forget(const DestructorObserver* param)
{
    std::erase_if(live_, [param](const Live& live) { return live.param == param; });
}

} // namespace Controller
