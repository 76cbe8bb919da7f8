#pragma once
#include "util/Error.h"

#include <variant>

namespace Util {

// Exactly one error of either kind. The audio-file layer returns these, so a
// caller can test for the kind or just report the message.
template <typename KindA, typename KindB>
class ErrorVariant : public Error {
public:
    ErrorVariant(KindA error) : error_(std::move(error)) {}
    ErrorVariant(KindB error) : error_(std::move(error)) {}

    template <typename Kind>
    bool Is() const { return std::holds_alternative<Kind>(error_); }
    template <typename Kind>
    const Kind& As() const { return std::get<Kind>(error_); }

    const String& Category() const override { return held().Category(); }
    uint32_t Code() const override { return held().Code(); }
    const String& Message() const override { return held().Message(); }
    std::span<const ErrorContextEntry> Context() const override { return held().Context(); }
    String Description() const override { return held().Description(); }

private:
    const Error& held() const
    {
        return std::visit([](const auto& e) -> const Error& { return e; }, error_);
    }
    std::variant<KindA, KindB> error_;
};

} // namespace Util
