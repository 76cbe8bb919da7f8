#pragma once
#include "dsp/DispatchInfo.h"
#include "dsp/ElementDispatcher.h"
#include "dsp/ElementHost.h"
#include "dsp/ElementParamEntry.h"
#include "dsp/ElementParamImplBase.h"

#include <boost/noncopyable.hpp>

#include <atomic>
#include <utility>

namespace DSP {

// The parameter implementation of ElementDispatcher: the audio side's value (an
// atomic) and the dispatch record that keeps the user-interface side's copy.
// Which side a call acts on follows the host's thread test.
template <typename T, typename Base = ElementParamImplBase<T>>
class ElementDispatcherParam : public Base, public ElementParamEntry, private boost::noncopyable {
public:
    ElementDispatcherParam(ElementDispatcher& element, ParamDeclaration declaration, T defaultValue, T minimum, T maximum)
        : element_(element), declaration_(std::move(declaration)), default_(defaultValue), audioValue_(defaultValue),
          dispatch_(element, audioValue_, minimum, maximum)
    {
    }

    // ElementParamImplBase
    T GetValue() const override
    {
        return element_.IsOnProcessingSide() ? audioValue_.load(std::memory_order_acquire)
                                             : dispatch_.GetUserInterfaceValue();
    }
    void SetValue(T value, uint64_t tag = 0) override
    {
        const uint32_t mode =
            element_.IsOnProcessingSide() ? DispatchInfoBase::kAudioSide : DispatchInfoBase::kUserInterfaceSide;
        dispatch_.SetValue(mode, value, tag);
    }
    uint64_t GetDescriptor() const override { return declaration_.descriptor; }
    T GetDefault() const override { return default_; }
    const ParamDeclaration& GetRecord() const override { return declaration_; }
    void BeginEdit() override { element_.GetHost().BeginParameterEdit(element_, index_); }
    void EndEdit() override { element_.GetHost().EndParameterEdit(element_, index_); }
    ElementDispatcher& GetElement() const override { return element_; }
    const Util::String& GetName() const override { return declaration_.name; }

    // ElementParamEntry
    const ParamDeclaration& GetDeclaration() const override { return declaration_; }
    uint32_t GetIndex() const override { return index_; }
    ParamValue GetEntryValue() const override { return GetValue(); }
    ParamValue GetAudioSideValue() const override { return audioValue_.load(std::memory_order_acquire); }
    void SetEntryValue(const ParamValue& value, uint64_t tag) override { SetValue(Convert(value), tag); }
    DispatchInfoBase& GetDispatchInfo() override { return dispatch_; }
    void AddListener(Listener listener) override
    {
        dispatch_.AddListener([listener = std::move(listener)](uint32_t mode, T value, uint64_t tag) {
            listener(mode, ParamValue(value), tag);
        });
    }

    DispatchInfo<T>& GetDispatch() { return dispatch_; }

protected:
    void SetIndex(uint32_t index) override { index_ = index; }

private:
    T Convert(const ParamValue& value) const
    {
        if (const T* same = std::get_if<T>(&value))
            return *same;
        return std::get<T>(declaration_.FromFloat(ParamDeclaration::ToFloat(value)));
    }

    ElementDispatcher& element_;
    ParamDeclaration declaration_;
    T default_;
    uint32_t index_ = 0;
    std::atomic<T> audioValue_;
    DispatchInfo<T> dispatch_;
};

} // namespace DSP
