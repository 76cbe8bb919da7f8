#include "core/ParamInfoRecord.h"

#include "param/BoolParam.h"
#include "param/EnumParam.h"
#include "param/FloatParam.h"
#include "core/RecordView.h"
#include "dsp/ParamDeclaration.h"
#include "util/Log.h"

namespace {

std::vector<Util::String> checkedLabels(const std::vector<Util::String>& labels, uint32_t minimum, uint32_t maximum)
{
    const uint64_t expected = uint64_t(maximum) - minimum + 1;
    if (labels.size() != expected) {
        Util::Log::write(Util::format("Enum size mismatch %1 != %2", labels.size(), expected));
        return {};
    }
    return labels;
}

Util::String joinedLabels(const std::vector<Util::String>& labels)
{
    Util::String joined;
    for (const auto& label : labels) {
        if (!joined.empty())
            joined += '\t';
        joined += label;
    }
    return joined;
}

} // namespace

std::optional<ParamInfoRecord::Fields> ParamInfoRecord::describe(const Controller::Object& controller,
                                                                 ParamListEntry::Kind kind)
{
    Fields fields;
    fields.kind = kind;
    if (const auto* f = dynamic_cast<const Controller::FloatParam*>(&controller)) {
        fields.minimum = f->GetMinimum();
        fields.maximum = f->GetMaximum();
        fields.defaultValue = f->GetDefault();
    } else if (const auto* b = dynamic_cast<const Controller::BoolParam*>(&controller)) {
        fields.minimum = b->GetMinimum() ? 1.0f : 0.0f;
        fields.maximum = b->GetMaximum() ? 1.0f : 0.0f;
        fields.defaultValue = b->GetDefault() ? 1.0f : 0.0f;
    } else if (const auto* e = dynamic_cast<const Controller::EnumParam*>(&controller)) {
        fields.minimum = float(e->GetMinimum());
        fields.maximum = float(e->GetMaximum());
        fields.defaultValue = float(e->GetDefault());
        if (kind == ParamListEntry::Enum)
            fields.labels = checkedLabels(e->GetLabels(), e->GetMinimum(), e->GetMaximum());
    } else {
        return std::nullopt;
    }
    return fields;
}

ParamInfoRecord::Fields ParamInfoRecord::describe(const DSP::ParamDeclaration& declaration, ParamListEntry::Kind kind)
{
    Fields fields;
    fields.kind = kind;
    const bool isSwitch = declaration.kind == DSP::ParamKind::Bool;
    fields.minimum = isSwitch ? (declaration.minimum >= 0.5f ? 1.0f : 0.0f) : declaration.minimum;
    fields.maximum = isSwitch ? (declaration.maximum >= 0.5f ? 1.0f : 0.0f) : declaration.maximum;
    fields.defaultValue = isSwitch ? (declaration.defaultValue >= 0.5f ? 1.0f : 0.0f) : declaration.defaultValue;
    if (kind == ParamListEntry::Enum)
        fields.labels =
            checkedLabels(declaration.valueNames, uint32_t(declaration.minimum), uint32_t(declaration.maximum));
    return fields;
}

void ParamInfoRecord::write(void* record, const Fields& fields)
{
    const RecordView r(record);
    r.setText(Layout::DisplayName, fields.displayName);
    r.setText(Layout::SecondText, fields.secondText);
    r.setText(Layout::Labels, fields.kind == ParamListEntry::Enum ? joinedLabels(fields.labels) : "");
    r.set(Layout::Kind, uint32_t(fields.kind));
    r.set(Layout::FirstAttribute, fields.attributes[0]);
    r.set(Layout::FixedWord1, 1);
    r.set(Layout::FixedWord2, 1);
    r.set(Layout::FixedWord3, 0);
    r.set(Layout::Minimum, fields.minimum);
    r.set(Layout::Maximum, fields.maximum);
    r.set(Layout::Default, fields.defaultValue);
    r.set(Layout::SecondAttribute, fields.attributes[1]);
    r.set(Layout::DisplayStyle, fields.attributes[2]);
}
