#pragma once
#include "param/Param.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <variant>
#include <vector>

namespace Controller {

// Keeps the values of persistent parameters beyond the life of the parameters
// (and of the instances that make them): a persistent parameter made under a
// name takes the value last remembered under that name, and every change of
// one is remembered and shown by every other live persistent parameter of the
// same name, in whichever instance it lives. [ui-thread]
class PersistentParamsHolder : public Trackable {
public:
    using Value = std::variant<float, bool, uint32_t>;

    PersistentParamsHolder() = default;
    PersistentParamsHolder(const PersistentParamsHolder&) = delete;
    PersistentParamsHolder& operator=(const PersistentParamsHolder&) = delete;

    // The holder of the process: shared by all instances of the library.
    static PersistentParamsHolder& shared();

    // Takes `param` into the holder until it is destroyed.
    template <typename T>
    void Adopt(Param<T>& param);

    std::optional<Value> GetRemembered(const Util::String& name) const;
    // Persistent parameters of that name alive now.
    std::size_t GetLiveCount(const Util::String& name) const;

private:
    struct Live {
        const DestructorObserver* param;
        Util::String name;
        std::function<void(const Value&)> show;
    };

    void Remember(const Util::String& name, const Value& value, const DestructorObserver* from);
    void Forget(const DestructorObserver* param);

    std::map<Util::String, Value> values_;
    std::vector<Live> live_;
    bool spreading_ = false;
};

template <typename T>
void PersistentParamsHolder::Adopt(Param<T>& param)
{
    const Util::String name = param.GetName();
    const auto remembered = values_.find(name);
    if (remembered != values_.end() && std::holds_alternative<T>(remembered->second))
        param.SetValue(std::get<T>(remembered->second));
    else
        values_[name] = param.GetValue();

    const DestructorObserver* observer = &param;
    live_.push_back({observer, name, [&param](const Value& value) {
                         if (const T* same = std::get_if<T>(&value))
                             param.SetValue(*same);
                     }});
    connect(param.changed, [this, name, observer](T value) { Remember(name, value, observer); });
    connect(param.destroyed, [this](const DestructorObserver* gone) { Forget(gone); });
}

} // namespace Controller
