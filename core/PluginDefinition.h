#pragma once
#include <cstdint>

#include "core/HostContext.h"
#include "util/Text.h"

// Everything that makes one product out of the generic core: names and
// identifiers per host context, version, editor size, places, host switches.
// The generic base answers defaults for every operation and leaves the
// product's names and identifiers abstract. Shared by all instances; every
// operation is [any-thread] and const.
class PluginDefinition {
public:
    // A text answer: a flag byte and a text. Optional texts default to {1, ""}.
    struct Text {
        uint8_t flag = 1;
        Util::String text;
    };
    struct Size {
        uint8_t flag = 1;
        uint32_t value = 0;
    };

    PluginDefinition();
    virtual ~PluginDefinition() = default;
    PluginDefinition(const PluginDefinition&) = delete;
    PluginDefinition& operator=(const PluginDefinition&) = delete;

    // Names and identifiers (per host context).
    virtual Text makerShortName(const HostContext&) const = 0;
    virtual Text makerFullName(const HostContext&) const = 0;
    virtual Text familyIdentifier(const HostContext&) const = 0;
    virtual Text productIdentifier(const HostContext&) const = 0;
    virtual Text productName(const HostContext&) const = 0;
    virtual Text productLongName(const HostContext&) const = 0;
    virtual Text versionText() const = 0;
    virtual uint32_t versionNumber() const = 0;
    virtual uint32_t buildNumber() const = 0;
    virtual uint32_t productNumber() const = 0;
    virtual uint32_t productWord() const { return 1; }

    // Host-format switches and words named by letter; indices are 1-based.
    virtual uint32_t switchA(int index) const;  // A1..A7
    virtual uint32_t switchB(int index) const;  // B1..B17
    virtual uint32_t switchC1() const { return 1; }
    virtual uint32_t switchC2() const { return switchA(5) ? 0 : 1; }
    virtual uint32_t editorWidth() const { return 470; }
    virtual uint32_t editorHeight() const { return 276; }
    virtual Text textD1(const HostContext&) const { return {}; }
    virtual uint32_t wordD2() const { return 0; }
    virtual Text productIdentifierSecond(const HostContext& c) const { return productIdentifier(c); }
    virtual Util::String productFourCC(const HostContext&) const = 0;
    virtual uint32_t wordE1() const { return 1024; }
    virtual Text makerNames(const HostContext&) const = 0;
    virtual Util::String makerFourCC(const HostContext&) const = 0;
    virtual Text productNames(const HostContext&) const = 0;
    virtual Text textE2(const HostContext&) const { return {}; }
    virtual Util::String secondProductFourCC(const HostContext&) const = 0;
    virtual uint32_t wordF1() const { return 128; }
    virtual uint32_t switchF(int index, const HostContext& context) const; // F2..F11; F5 and F8 as below
    // Switch F5: on, except under host 2 at a version above 11.3.0 (an unknown
    // version keeps it on). The version is the one in the host context block,
    // else the one the first instance was told (see HostVersion).
    virtual uint32_t hostVersionSwitch(const HostContext& context) const;
    // Switch F8: on under host 1 only.
    virtual uint32_t hostOneSwitch() const;
    virtual uint32_t wordG(int index) const { (void)index; return 0; } // G1..G15
    virtual uint32_t switchG16() const { return 0; }
    virtual Text textH1(const HostContext&) const = 0;
    virtual Text textH2(const HostContext&) const = 0;
    virtual Util::String componentTypeCode(const HostContext&) const { return "aufx"; }
    virtual uint32_t wordJ1() const { return 0; }
    virtual Text textJ2(const HostContext&) const { return {}; }

    // Further answers used across the product.
    virtual Text editorApplicationName() const { return {}; }
    virtual Text presetsFolder() const { return {}; }
    virtual Text helpFile() const { return {}; }
    virtual Text analyticsSettingsKey() const { return {}; }
    virtual Size minimumEditorWidth() const { return {1, editorWidth()}; }
    virtual Size maximumEditorWidth() const { return {1, editorWidth()}; }
    virtual Size minimumEditorHeight() const { return {1, editorHeight()}; }
    virtual Size maximumEditorHeight() const { return {1, editorHeight()}; }
    virtual Util::String shortProductIdentifier() const = 0;
    virtual Util::String plainProductName() const = 0;
    virtual float floatAnswer(int index) const;   // 1..3: 15.0, 1.0, 5.0
    virtual uint32_t wordAnswer(int index) const; // 1..3: 100, 8192, 2

    // The ReWire device's description (asked with format 12). The generic
    // device is inert: no name, no signature, no channels.
    virtual Util::String reWireDeviceName() const { return {}; }
    virtual Util::String reWireSignature() const { return {}; }
    virtual uint32_t reWireChannelCount() const { return 0; }
    virtual Util::String reWireChannelName(uint32_t) const { return {}; }
    virtual bool reWireFirstChannelFlag(uint32_t) const { return false; }
    virtual bool reWireSecondChannelFlag(uint32_t) const { return false; }
    virtual uint32_t reWireDeviceValue() const { return 0; }

    // The definition's own flag, answered by several host switches.
    uint8_t flag() const { return flag_; }
    void setFlag(uint8_t flag) { flag_ = flag; }

    // The core's host number of the running process (see HostIdentification).
    virtual uint32_t hostNumber() const;
    // Whether each instance has a session identifier, kept in its saved state.
    virtual bool usesSessionIdentifier() const { return false; }

private:
    uint8_t flag_ = 0;
};
