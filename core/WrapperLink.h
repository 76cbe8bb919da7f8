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
    struct ActivationWords {
        uint32_t a = 0, b = 0, c = 0;
    };

    WrapperLink(PluginCoreCallbackFn callback, void* handle) : callback_(callback), handle_(handle) {}

    bool parameterGesture(uint32_t kind, uint32_t parameterIndex, float value) const; // 1
    bool statusWordChanged(uint32_t word, uint32_t value) const;                      // 2
    bool rereadParameterList() const;                                                 // 3
    bool userInterfaceWorkEnds() const;                                               // 4
    bool userInterfaceWorkBegins() const;                                             // 5
    bool report(uint32_t value) const;                                                // 9
    std::optional<HostApplication> hostApplication() const;                           // 13
    bool setHostFlag(uint32_t index, uint8_t flag) const;                             // 17
    ActivationWords activationWords() const;                                          // 18
    float dspSeconds() const;                                                         // 19
    float userInterfaceSeconds() const;                                               // 20
    bool propertyMessage(uint32_t id, uint32_t size, uint64_t data) const;           // 21

    int32_t call(uint32_t selector, uint32_t index, void* record) const;

private:
    PluginCoreCallbackFn callback_;
    void* handle_;
};
