#pragma once
#include "param/ControllerSet.h"
#include "util/Text.h"

#include <memory>

namespace Controller {
class BoolParamConfigFile;
}

namespace ConsoleCommand {

// The live design settings, kept under the maker's settings key:
// "RuntimeDesignEnable" (enabledesign, disabledesign) and
// "PreventRuntimeDesign" (preventdesign, preventdesignoff). Live design mode
// is on only while it is enabled and not prevented. They are also the
// configuration parameters the parameter commands walk. [ui-thread]
class DesignSettings {
public:
    static constexpr const char* EnableSetting = "RuntimeDesignEnable";
    static constexpr const char* PreventSetting = "PreventRuntimeDesign";

    // `makerKey`: "SOFTWARE/<maker>".
    explicit DesignSettings(const Util::String& makerKey);
    ~DesignSettings();

    void setEnabled(bool enabled);
    void setPrevented(bool prevented);
    bool designModeOn() const;

    const Util::String& key() const { return key_; }
    Controller::ControllerSet& params() { return params_; }

private:
    Util::String key_;
    Controller::ControllerSet params_;
    Controller::BoolParamConfigFile* enabled_;
    Controller::BoolParamConfigFile* prevented_;
};

} // namespace ConsoleCommand
