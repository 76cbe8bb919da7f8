#pragma once
#include "param/BoolParam.h"
#include "param/ParamConfigFileStorage.h"

namespace Controller {

// A switch kept in a configuration file under its name ("Reference Clip" in the
// product's settings, for example). [ui-thread]
class BoolParamConfigFile : public BoolParam {
public:
    BoolParamConfigFile(Util::String name, std::shared_ptr<Util::ConfigFile> config, bool defaultValue)
        : BoolParam(name, std::make_unique<ParamConfigFileStorage<bool>>(std::move(config), name, defaultValue),
                    false, true, defaultValue)
    {
    }
};

} // namespace Controller
