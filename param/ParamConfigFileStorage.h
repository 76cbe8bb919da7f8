#pragma once
#include "param/ParamStorage.h"
#include "io/ConfigFile.h"

#include <cstdint>
#include <memory>
#include <type_traits>

namespace Controller {

// A value held under `key` in a configuration file (the product's settings):
// every read asks the store, so the value outlives the instance and is shared
// by every parameter made over the same key. A value missing or of another
// type reads as the default.
template <typename T>
class ParamConfigFileStorage final : public ParamStorage<T> {
    static_assert(std::is_same_v<T, float> || std::is_same_v<T, bool> || std::is_same_v<T, uint32_t> ||
                  std::is_same_v<T, Util::String>);

public:
    ParamConfigFileStorage(std::shared_ptr<Util::ConfigFile> config, Util::String key, T defaultValue)
        : config_(std::move(config)), key_(std::move(key)), default_(std::move(defaultValue))
    {
    }

    T Load() const override
    {
        if constexpr (std::is_same_v<T, float>)
            return config_->GetFloat(key_, default_);
        else if constexpr (std::is_same_v<T, bool>)
            return config_->GetBool(key_, default_);
        else if constexpr (std::is_same_v<T, uint32_t>)
            return config_->GetUInt(key_, default_);
        else
            return config_->GetString(key_, default_);
    }
    void Store(T value) override
    {
        if constexpr (std::is_same_v<T, float>)
            config_->SetFloat(key_, value);
        else if constexpr (std::is_same_v<T, bool>)
            config_->SetBool(key_, value);
        else if constexpr (std::is_same_v<T, uint32_t>)
            config_->SetUInt(key_, value);
        else
            config_->SetString(key_, value);
    }

private:
    std::shared_ptr<Util::ConfigFile> config_;
    Util::String key_;
    T default_;
};

} // namespace Controller
