#include "core/EditorGestures.h"

#include "core/ParamList.h"
#include "core/WrapperLink.h"
#include "dsp/DSPSetImpl.h"
#include "dsp/DispatchInfoBase.h"
#include "dsp/ElementDispatcher.h"

using EntryProtocol::GestureKind;

EditorGestures::EditorGestures(const WrapperLink& wrapper, const ParamList& automatable, Instance instance)
    : wrapper_(wrapper), automatable_(automatable), instance_(std::move(instance)), heard_(automatable.count())
{
}

void EditorGestures::begins(uint32_t index) { tell(GestureKind::Begins, index, std::nullopt); }
void EditorGestures::changes(uint32_t index) { tell(GestureKind::ValueChanges, index, std::nullopt); }
void EditorGestures::ends(uint32_t index) { tell(GestureKind::Ends, index, std::nullopt); }

void EditorGestures::begins(const DSP::Element& element, uint32_t parameterIndex)
{
    if (const auto index = indexOf(element, parameterIndex))
        begins(*index);
}

void EditorGestures::ends(const DSP::Element& element, uint32_t parameterIndex)
{
    if (const auto index = indexOf(element, parameterIndex))
        ends(*index);
}

bool EditorGestures::mayTell(GestureKind kind) const
{
    if (!ready_.load(std::memory_order_acquire) || notFromEditor_.load(std::memory_order_acquire) != 0 ||
        instance_.reconfiguring())
        return false;
    return kind == GestureKind::ValueChanges || instance_.editorOpen();
}

void EditorGestures::tell(GestureKind kind, uint32_t index, std::optional<float> value)
{
    if (!mayTell(kind))
        return;
    if (!value)
        value = automatable_.value(index);
    if (value)
        wrapper_.parameterGesture(kind, index, *value);
}

std::optional<uint32_t> EditorGestures::indexOf(const DSP::Element& element, uint32_t parameterIndex) const
{
    const Util::String& name = element.GetName().text;
    for (uint32_t index = 0; index < automatable_.count(); ++index)
        if (automatable_.entry(index).parameterIndex == parameterIndex && automatable_.entry(index).elementName == name)
            return index;
    return std::nullopt;
}

// The listeners hear both sides; the audio side's calls come on the audio
// thread and are left at once. A listener outliving this object does nothing.
void EditorGestures::listen(DSP::DSPSetImpl* set)
{
    if (!set)
        return;
    const std::weak_ptr<EditorGestures> self = weak_from_this();
    for (uint32_t index = 0; index < automatable_.count(); ++index) {
        const auto element = set->FindElement(automatable_.entry(index).elementName);
        auto* dispatcher = dynamic_cast<DSP::ElementDispatcher*>(element.get());
        if (!dispatcher || heard_[index].lock() == element)
            continue;
        dispatcher->AddParameterListener(automatable_.entry(index).parameterIndex,
                                         [self, index](uint32_t mode, const DSP::ParamValue& value, uint64_t) {
                                             if (mode != DSP::DispatchInfoBase::kUserInterfaceSide)
                                                 return;
                                             if (const auto gestures = self.lock())
                                                 gestures->tell(GestureKind::ValueChanges, index,
                                                                DSP::ParamDeclaration::ToFloat(value));
                                         });
        heard_[index] = element;
    }
}

EditorGestures::NotFromEditor::NotFromEditor(EditorGestures& gestures, bool applies)
    : gestures_(applies ? &gestures : nullptr)
{
    if (gestures_)
        gestures_->notFromEditor_.fetch_add(1, std::memory_order_acq_rel);
}

EditorGestures::NotFromEditor::~NotFromEditor()
{
    if (gestures_)
        gestures_->notFromEditor_.fetch_sub(1, std::memory_order_acq_rel);
}
