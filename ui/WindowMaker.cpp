#include "ui/WindowMaker.h"

#include "ui/Canvas.h"

namespace UI {

bool WindowMaker::registerType(const Util::String& type, Creator creator)
{
    if (!creators_.emplace(type, std::move(creator)).second)
        return false;
    order_.push_back(type);
    return true;
}

Window* WindowMaker::create(const Util::String& type, Canvas& canvas, Window* parent, const Util::String& name) const
{
    const auto it = creators_.find(type);
    if (it == creators_.end())
        return nullptr;
    return &it->second(canvas, parent ? *parent : canvas, name);
}

} // namespace UI
