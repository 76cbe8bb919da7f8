#include "core/ParamList.h"

#include "param/ControllerSet.h"
#include "dsp/DSPSetImpl.h"
#include "dsp/Element.h"
#include "util/Log.h"

namespace {

ParamListEntry::Kind kindOf(DSP::ParamKind kind)
{
    switch (kind) {
    case DSP::ParamKind::Bool: return ParamListEntry::Bool;
    case DSP::ParamKind::Enum: return ParamListEntry::Enum;
    case DSP::ParamKind::Float:
    case DSP::ParamKind::UInt: break;
    }
    return ParamListEntry::Float;
}

ParamInfoRecord::DisplayStyle styleOf(DSP::ParamKind kind)
{
    switch (kind) {
    case DSP::ParamKind::UInt: return ParamInfoRecord::Stepped;
    case DSP::ParamKind::Bool: return ParamInfoRecord::Switch;
    case DSP::ParamKind::Enum: return ParamInfoRecord::List;
    case DSP::ParamKind::Float: break;
    }
    return ParamInfoRecord::Continuous;
}

bool endsWithSpace(const Util::String& text) { return !text.empty() && text.back() == ' '; }

bool isBlank(const Util::String& text) { return text.find_first_not_of(" \t") == Util::String::npos; }

} // namespace

ParamList ParamList::automatable(DSP::DSPSetImpl* set, const std::vector<ParamRegistration>& registrations)
{
    std::vector<ParamListEntry> entries;
    for (const auto& registration : registrations) {
        if (isBlank(registration.identifier)) {
            Util::Log::write("Skipping entry in param registration info list because the ID is blank.");
            continue;
        }
        if (isBlank(registration.displayName)) {
            Util::Log::write("Skipping entry in param registration info list because the name is blank.");
            continue;
        }
        const auto element = set ? set->FindElement(registration.elementName) : nullptr;
        if (!element) {
            Util::Log::write(Util::format(
                "Could not find element \"%1\" while building param set, skipping this entry. %2",
                registration.elementName,
                endsWithSpace(registration.elementName) ? " (Hint - trailing space after element name)" : ""));
            continue;
        }
        const auto index = element->FindParameter(registration.parameterName);
        if (!index) {
            Util::Log::write(Util::format(
                "Could not find parameter \"%1\" for element \"%2\" while building param set, skipping this entry. %3",
                registration.parameterName, registration.elementName,
                endsWithSpace(registration.parameterName) ? " (Hint - trailing space after param name)" : ""));
            continue;
        }
        entries.push_back({registration.elementName, *index, kindOf(element->GetParameterDeclaration(*index)->kind),
                           registration.displayName, registration.identifier});
    }
    return ParamList(set, std::move(entries));
}

ParamList ParamList::everyParameter(DSP::DSPSetImpl* set)
{
    std::vector<ParamListEntry> entries;
    if (set)
        for (const auto& [name, element] : set->GetElements())
            for (uint32_t index = 0; index < element->GetParameterCount(); ++index) {
                const auto& declaration = *element->GetParameterDeclaration(index);
                entries.push_back({name, index, kindOf(declaration.kind), declaration.name,
                                   Util::format("%1.%2", name, declaration.name)});
            }
    return ParamList(set, std::move(entries));
}

std::shared_ptr<DSP::Element> ParamList::elementOf(const ParamListEntry& entry) const
{
    return set_ ? set_->FindElement(entry.elementName) : nullptr;
}

ParamInfoRecord::Fields ParamList::fieldsOf(const ParamListEntry& entry) const
{
    ParamInfoRecord::Fields fields;
    fields.kind = entry.kind;
    const auto element = elementOf(entry);
    const auto* declaration = element ? element->GetParameterDeclaration(entry.parameterIndex) : nullptr;
    if (declaration) {
        const Controller::Object* controller = element->GetControllerSet().Find(declaration->name);
        auto described = controller ? ParamInfoRecord::describe(*controller, entry.kind) : std::nullopt;
        fields = described ? *described : ParamInfoRecord::describe(*declaration, entry.kind);
        fields.attributes = {uint32_t(declaration->descriptor), uint32_t(declaration->descriptor >> 32),
                             styleOf(declaration->kind)};
    }
    fields.displayName = entry.displayName; // this product has no translator
    fields.secondText = entry.secondText;
    return fields;
}

bool ParamList::describe(uint32_t count, void* records) const
{
    if (count != entries_.size() || (count > 0 && !records))
        return false;
    auto* bytes = static_cast<uint8_t*>(records);
    for (const auto& entry : entries_) {
        ParamInfoRecord::write(bytes, fieldsOf(entry));
        bytes += ParamInfoRecord::Size;
    }
    return true;
}

std::optional<float> ParamList::value(uint32_t index) const
{
    if (index >= entries_.size())
        return std::nullopt;
    const auto element = elementOf(entries_[index]);
    const auto value = element ? element->GetParameterValue(entries_[index].parameterIndex) : std::nullopt;
    if (!value)
        return std::nullopt;
    return DSP::ParamDeclaration::ToFloat(*value);
}

bool ParamList::setValue(uint32_t index, float value) const
{
    if (index >= entries_.size())
        return false;
    const auto element = elementOf(entries_[index]);
    const DSP::ParamDeclaration* declaration =
        element ? element->GetParameterDeclaration(entries_[index].parameterIndex) : nullptr;
    return declaration && element->SetParameterValue(entries_[index].parameterIndex, declaration->FromFloat(value));
}
