#include "param/ControllerSet.h"

namespace Controller {

ControllerSet::ControllerSet(Util::String name) : name_(std::move(name)) {}

bool ControllerSet::Add(const Util::String& key, std::unique_ptr<Object> object)
{
    if (!object || Find(key))
        return false;
    entries_.emplace_back(key, std::move(object));
    return true;
}

Object* ControllerSet::Find(const Util::String& key) const
{
    for (const auto& [name, object] : entries_)
        if (name == key)
            return object.get();
    return nullptr;
}

Object* ControllerSet::GetAt(std::size_t index) const
{
    return index < entries_.size() ? entries_[index].second.get() : nullptr;
}

KeyValue ControllerSet::ValueForKey(const Util::String& key)
{
    if (Object* object = Find(key))
        return object;
    return {};
}

std::vector<Util::String> ControllerSet::AllKeys() const
{
    std::vector<Util::String> keys;
    for (const auto& entry : entries_)
        keys.push_back(entry.first);
    return keys;
}

} // namespace Controller
