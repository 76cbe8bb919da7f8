#pragma once
#include "param/PersistentParamsHolder.h"

#include <utility>

namespace Controller {

// A parameter of kind `Base` (one held in memory) whose value outlives it: the
// holder hands it the value remembered under its name and shares its changes.
template <typename Base>
class PersistentParam : public Base {
public:
    template <typename... Args>
    explicit PersistentParam(PersistentParamsHolder& holder, Args&&... args) : Base(std::forward<Args>(args)...)
    {
        holder.Adopt(*this);
    }
};

} // namespace Controller
