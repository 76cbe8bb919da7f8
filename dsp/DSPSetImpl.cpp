#include "dsp/DSPSetImpl.h"

#include "param/ControllerSet.h"
#include "dsp/Element.h"
#include "dsp/ElementHost.h"

namespace DSP {

DSPSetImpl::DSPSetImpl(ElementHost& host) : host_(host) {}

DSPSetImpl::~DSPSetImpl()
{
    ElementMap elements;
    {
        Platform::ScopedLock lock(host_.GetProcessingLock());
        elements.swap(elements_);
        processingOrder_.clear();
    }
}

void DSPSetImpl::RebuildProcessingOrder()
{
    processingOrder_.clear();
    for (const auto& [name, element] : elements_)
        processingOrder_.push_back(element.get());
}

Controller::KeyValue DSPSetImpl::ValueForKey(const Util::String& key)
{
    const auto element = FindElement(key);
    if (!element)
        return {};
    return static_cast<Controller::KeyValueCoding*>(&element->GetControllerSet());
}

std::vector<Util::String> DSPSetImpl::AllKeys() const
{
    std::vector<Util::String> keys;
    for (const auto& entry : elements_)
        keys.push_back(entry.first);
    return keys;
}

void DSPSetImpl::PumpAll()
{
    OnBeforePump();
    for (const auto& [name, element] : elements_)
        element->PumpCommands();
    OnAfterPump();
}

void DSPSetImpl::DispatchAll()
{
    for (const auto& [name, element] : elements_)
        element->DispatchParameters();
}

std::shared_ptr<Element> DSPSetImpl::FindElement(const Util::String& name) const
{
    const auto it = elements_.find(name);
    return it == elements_.end() ? nullptr : it->second;
}

Element* DSPSetImpl::GetElementAt(uint32_t index) const
{
    for (const auto& [name, element] : elements_)
        if (index-- == 0)
            return element.get();
    return nullptr;
}

bool DSPSetImpl::AddElement(std::shared_ptr<Element> element)
{
    if (!element)
        return false;
    Platform::ScopedLock lock(host_.GetProcessingLock());
    const bool added = elements_.emplace(element->GetName().text, std::move(element)).second;
    RebuildProcessingOrder();
    return added;
}

std::shared_ptr<Element> DSPSetImpl::ReplaceElement(std::shared_ptr<Element> element)
{
    Platform::ScopedLock lock(host_.GetProcessingLock());
    auto& slot = elements_[element->GetName().text];
    slot.swap(element);
    RebuildProcessingOrder();
    return element;
}

std::shared_ptr<Element> DSPSetImpl::RemoveElement(const Util::String& name)
{
    Platform::ScopedLock lock(host_.GetProcessingLock());
    const auto it = elements_.find(name);
    if (it == elements_.end())
        return nullptr;
    auto element = std::move(it->second);
    elements_.erase(it);
    RebuildProcessingOrder();
    return element;
}

} // namespace DSP
