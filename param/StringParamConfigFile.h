#pragma once
#include "param/ParamConfigFileStorage.h"
#include "param/StringParam.h"

namespace Controller {

// A text kept in a configuration file under its name. [ui-thread]
class StringParamConfigFile : public StringParam {
public:
    StringParamConfigFile(Util::String name, std::shared_ptr<Util::ConfigFile> config, Util::String defaultValue)
        : StringParam(name,
                      std::make_unique<ParamConfigFileStorage<Util::String>>(std::move(config), name, defaultValue),
                      defaultValue)
    {
    }
};

} // namespace Controller
