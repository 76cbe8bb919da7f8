#pragma once
#include "dsp/ElementParamImplBase.h"

namespace DSP {

// The element's handle of one of its parameters: reads and sets the value on
// the caller's side. A default-made handle refers to nothing.
template <typename T>
class ElementParam {
public:
    ElementParam() = default;
    explicit ElementParam(ElementParamImplBase<T>* impl) : impl_(impl) {}
    virtual ~ElementParam() = default;

    bool IsValid() const { return impl_ != nullptr; }
    T Get() const { return impl_->GetValue(); }                          // [any-thread]
    void Set(T value, uint64_t tag = 0) const { impl_->SetValue(value, tag); } // [any-thread]
    ElementParamImplBase<T>* GetImpl() const { return impl_; }

private:
    ElementParamImplBase<T>* impl_ = nullptr;
};

} // namespace DSP
