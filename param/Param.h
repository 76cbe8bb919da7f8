#pragma once
#include "param/DestructorObserver.h"
#include "param/Object.h"
#include "param/ParamStorage.h"
#include "util/Text.h"

#include <memory>
#include <stdexcept>
#include <utility>

namespace Controller {

// A named value of type T kept in a storage, with change notification: every
// SetValue stores the (constrained) value and emits `changed` with it; its
// destruction is announced through `destroyed`.
// [ui-thread]
template <typename T>
class Param : public Object, public DestructorObserver {
public:
    Param(Util::String name, std::unique_ptr<ParamStorage<T>> storage)
        : name_(std::move(name)), storage_(std::move(storage))
    {
        if (!storage_)
            throw std::invalid_argument(Util::format("Parameter \"%1\" has no storage", name_));
    }

    const Util::String& GetName() const { return name_; }
    T GetValue() const { return storage_->Load(); }
    void SetValue(T value)
    {
        value = Constrain(value);
        storage_->Store(value);
        changed(value);
    }

    Util::Signal<void(T)> changed;

protected:
    virtual T Constrain(T value) const { return value; }

private:
    Util::String name_;
    std::unique_ptr<ParamStorage<T>> storage_;
};

} // namespace Controller
