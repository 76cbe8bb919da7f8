#pragma once
#include "core/ParamInfoRecord.h"
#include "core/ParamListEntry.h"
#include "param/ParamRegistration.h"

#include <memory>
#include <optional>
#include <vector>

namespace DSP {
class DSPSetImpl;
class Element;
} // namespace DSP

// Element parameters shown to the host by index: the automatable list
// (selectors 8-11) or the second value list (12-15). An entry names its element,
// which is looked up in the DSP set at every access, since a format change may
// replace it. Values pass in the parameter's own terms: a float as it is, a
// switch as 0 or 1, an enumeration or unsigned value as its number.
class ParamList {
public:
    ParamList() = default;

    // The automatable list, from the product's registration list. Entries
    // with a blank identifier or name, or naming an element or parameter the set
    // does not have, are skipped with a message. [ui-thread]
    static ParamList automatable(DSP::DSPSetImpl* set, const std::vector<ParamRegistration>& registrations);
    // Every parameter of every element: elements in the set's order, each one's
    // parameters in registration order, shown under their own names. [ui-thread]
    static ParamList everyParameter(DSP::DSPSetImpl* set);

    uint32_t count() const { return uint32_t(entries_.size()); }
    const ParamListEntry& entry(uint32_t index) const { return entries_.at(index); }
    // The kind, range, default and labels of an entry. [ui-thread]
    ParamInfoRecord::Fields fields(uint32_t index) const { return fieldsOf(entries_.at(index)); }

    // Fills `count` information records, one after the other; false, with
    // nothing written, when `count` is not the list's count. [any-thread] & locked
    bool describe(uint32_t count, void* records) const;
    // Nothing beyond the list, or when the element is gone. [any-thread] & locked
    std::optional<float> value(uint32_t index) const;
    // Writes the value on the caller's side of the element parameter; false
    // beyond the list, or when the element is gone. [any-thread] & locked
    bool setValue(uint32_t index, float value) const;

private:
    ParamList(DSP::DSPSetImpl* set, std::vector<ParamListEntry> entries) : set_(set), entries_(std::move(entries)) {}
    std::shared_ptr<DSP::Element> elementOf(const ParamListEntry& entry) const;
    ParamInfoRecord::Fields fieldsOf(const ParamListEntry& entry) const;

    DSP::DSPSetImpl* set_ = nullptr; // owned by the instance's element set
    std::vector<ParamListEntry> entries_;
};
