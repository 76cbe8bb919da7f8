#pragma once
#include "param/FloatParam.h"
#include "param/ParamConfigFileStorage.h"

namespace Controller {

// A float parameter kept in a configuration file under its name. [ui-thread]
class FloatParamConfigFile : public FloatParam {
public:
    FloatParamConfigFile(Util::String name, std::shared_ptr<Util::ConfigFile> config, float minimum, float maximum,
                         float defaultValue)
        : FloatParam(name, std::make_unique<ParamConfigFileStorage<float>>(std::move(config), name, defaultValue),
                     minimum, maximum, defaultValue)
    {
    }
};

} // namespace Controller
