#pragma once
#include <cstdint>
#include <optional>

#include "core/PluginCoreCallback.h"
#include "util/Text.h"

// The reverse direction: the wrapper's callback and instance handle, with one
// typed operation per reverse selector. Each answers whether the wrapper
// returned 0. [any-thread]; the wrapper decides what it accepts from where.
class WrapperLink {
public:
    struct HostApplication {
        Util::String name;
        float version = 0.0f; // 0 when the wrapper gave none
    };
    struct ActivationWords { // reverse 18; all 0 when the wrapper fails
        uint32_t first = 0, second = 0, third = 0;
    };

    WrapperLink(PluginCoreCallbackFn callback, void* handle) : callback_(callback), handle_(handle) {}

    // In the order of EntryProtocol::ReverseSelector.
    bool parameterGesture(EntryProtocol::GestureKind kind, uint32_t parameterIndex, float value) const;
    bool statusWordChanged(uint32_t word, uint32_t value) const;
    bool rereadParameterList() const;
    bool userInterfaceWorkEnds() const;
    bool userInterfaceWorkBegins() const;
    bool report(uint32_t value) const;
    std::optional<HostApplication> hostApplication() const;
    bool setHostFlag(uint32_t index, uint8_t flag) const;
    ActivationWords activationWords() const;
    float dspSeconds() const;
    float userInterfaceSeconds() const;
    bool propertyMessage(uint32_t id, uint32_t size, uint64_t data) const;

    int32_t call(EntryProtocol::ReverseSelector selector, uint32_t index, void* record) const;

private:
    PluginCoreCallbackFn callback_;
    void* handle_;
};
