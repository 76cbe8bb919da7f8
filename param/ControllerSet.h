#pragma once
#include "param/KeyValueCoding.h"
#include "param/Object.h"
#include "util/Text.h"

#include <memory>
#include <utility>
#include <vector>

namespace Controller {

// A named collection of parameters in the order they were added, reachable by key.
class ControllerSet : public Object, public KeyValueCoding {
public:
    explicit ControllerSet(Util::String name);

    const Util::String& GetName() const { return name_; }
    // Adds `object` under `key`; false (and `object` dropped) when the key is taken.
    bool Add(const Util::String& key, std::unique_ptr<Object> object);
    Object* Find(const Util::String& key) const;
    std::size_t GetCount() const { return entries_.size(); }
    Object* GetAt(std::size_t index) const;

    KeyValue ValueForKey(const Util::String& key) override;
    std::vector<Util::String> AllKeys() const override;

private:
    Util::String name_;
    std::vector<std::pair<Util::String, std::unique_ptr<Object>>> entries_;
};

} // namespace Controller
