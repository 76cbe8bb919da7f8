#include "console/DesignSettings.h"

#include "io/ConfigFile.h"
#include "param/BoolParamConfigFile.h"

namespace ConsoleCommand {

namespace {
Controller::BoolParamConfigFile* addSwitch(Controller::ControllerSet& set, const char* name,
                                           const std::shared_ptr<Util::ConfigFile>& config)
{
    auto param = std::make_unique<Controller::BoolParamConfigFile>(name, config, false);
    auto* added = param.get();
    set.Add(name, std::move(param));
    return added;
}
} // namespace

DesignSettings::DesignSettings(const Util::String& makerKey) : key_(makerKey), params_("Design Settings")
{
    const auto config = std::make_shared<Util::ConfigFile>(makerKey);
    enabled_ = addSwitch(params_, EnableSetting, config);
    prevented_ = addSwitch(params_, PreventSetting, config);
}

DesignSettings::~DesignSettings() = default;

void DesignSettings::setEnabled(bool enabled) { enabled_->SetValue(enabled); }
void DesignSettings::setPrevented(bool prevented) { prevented_->SetValue(prevented); }
bool DesignSettings::designModeOn() const { return enabled_->GetValue() && !prevented_->GetValue(); }

} // namespace ConsoleCommand
