#pragma once
#include <cstdint>
#include <functional>

#include "core/ParamList.h"

class BlockPass;

// The values the host sees, by index: the automatable list (selectors 8-11)
// and the second value list, every element parameter (12-15). A call from the
// processing side (lock index 0) acts on the audio side's values, with the
// calling thread marked as the processing thread while it runs: a read sees
// what the audio side uses; a write stores the value there directly, without
// allocating a command for the trip from the user-interface side.
// [any-thread] with the lock the caller's index names.
class HostParameters {
public:
    enum class List { Automatable, Second };
    // Offered every value the host sets, before it reaches a parameter; a hook
    // that answers 1 has taken the value.
    using ValueHook = std::function<uint32_t(List list, uint32_t index, float value)>;

    HostParameters(ParamList automatable, ParamList second, BlockPass& blockPass);

    const ParamList& list(List which) const { return which == List::Automatable ? automatable_ : second_; }
    // Rejected, with nothing written, when `count` is not the list's count.
    int32_t describe(List which, uint32_t count, void* records) const;
    // Rejected beyond the list.
    int32_t value(List which, uint32_t index, float& value, uint32_t lockIndex);
    int32_t setValue(List which, uint32_t index, float value, uint32_t lockIndex);
    void setValueHook(ValueHook hook) { valueHook_ = std::move(hook); }

private:
    template <typename Call>
    int32_t onCallersSide(uint32_t lockIndex, Call&& call);

    ParamList automatable_;
    ParamList second_;
    BlockPass& blockPass_;
    ValueHook valueHook_;
};
