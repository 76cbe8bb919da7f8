#pragma once
#include "dsp/DSPSetBase.h"

#include <vector>

namespace DSP {

class ElementHost;

// The element registry: elements held by shared pointer in a map ordered by
// name; key-value coding reaches an element's controllers by its name
// ("Shuttle.Shuttle State"). Changes to the map are made under the host's
// processing lock, so the audio thread may walk it while it holds that lock.
class DSPSetImpl : public DSPSetBase {
public:
    explicit DSPSetImpl(ElementHost& host);
    ~DSPSetImpl() override;

    // The element's controller set, or nothing. [ui-thread]
    Controller::KeyValue ValueForKey(const Util::String& key) override;
    std::vector<Util::String> AllKeys() const override;
    void PumpAll() override;
    void DispatchAll() override;
    std::shared_ptr<Element> FindElement(const Util::String& name) const override;
    const ElementMap& GetElements() const override { return elements_; }

    ElementHost& GetHost() const { return host_; }
    uint32_t GetElementCount() const { return uint32_t(elements_.size()); }
    // In name order; null beyond the count. [any-thread]
    Element* GetElementAt(uint32_t index) const;
    // The elements in name order as a flat list, for the passes every block
    // makes; read it with the processing lock held. [audio-thread]
    const std::vector<Element*>& GetProcessingOrder() const { return processingOrder_; }

    // False when the name is taken. [ui-thread]
    bool AddElement(std::shared_ptr<Element> element);
    // Puts `element` in the place of the one with its name; answers the one it
    // replaced (destroy it outside the processing lock). [ui-thread]
    std::shared_ptr<Element> ReplaceElement(std::shared_ptr<Element> element);
    std::shared_ptr<Element> RemoveElement(const Util::String& name); // [ui-thread]

protected:
    virtual void OnBeforePump() {}
    virtual void OnAfterPump() {}

private:
    void RebuildProcessingOrder(); // & processing lock

    ElementHost& host_;
    ElementMap elements_;
    std::vector<Element*> processingOrder_;
};

} // namespace DSP
