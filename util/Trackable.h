#pragma once
#include <boost/signals2.hpp>

#include <memory>
#include <utility>

// Receivers of signals derive from Trackable. A slot connected through
// Trackable::connect is dropped automatically when the receiver dies, so a
// signal never calls into a destroyed object.
class Trackable {
public:
    Trackable() : lifeToken_(std::make_shared<char>(0)) {}
    Trackable(const Trackable&) : Trackable() {}
    Trackable& operator=(const Trackable&) { return *this; }
    virtual ~Trackable() = default;

    // A weak view of this object's life, for slots and deferred work.
    std::weak_ptr<void> lifeToken() const { return lifeToken_; }

    // Connects `fn` to `signal`; the connection lives as long as this object.
    template <typename Signature, typename Fn>
    boost::signals2::connection connect(boost::signals2::signal<Signature>& signal, Fn&& fn) const
    {
        using Slot = typename boost::signals2::signal<Signature>::slot_type;
        return signal.connect(Slot(std::forward<Fn>(fn)).track_foreign(lifeToken_));
    }

private:
    std::shared_ptr<void> lifeToken_;
};

namespace Util {
template <typename Signature>
using Signal = boost::signals2::signal<Signature>;
}
