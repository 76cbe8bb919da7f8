#pragma once
#include "dsp/DSPCommand.h"

#include <cstdint>

namespace DSP {

template <typename T>
class DispatchInfo;

// Carries one new parameter value from the user-interface side to the audio side.
// Its audio half sets the value there and ends the change's flight; nothing is
// left to do on the way back. (ExecuteOnProcess is defined with DispatchInfo.)
template <typename T>
class DispatcherCommand final : public DSPCommand {
public:
    DispatcherCommand(DispatchInfo<T>& record, T value, uint64_t tag) : record_(record), value_(value), tag_(tag) {}

    bool ExecuteOnProcess() override;

    T GetValue() const { return value_; }
    uint64_t GetTag() const { return tag_; }

private:
    DispatchInfo<T>& record_;
    T value_;
    uint64_t tag_;
};

} // namespace DSP
