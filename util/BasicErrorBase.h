#pragma once
#include "util/Error.h"

#include <vector>

namespace Util {

// The stored form shared by every concrete error kind.
class BasicErrorBase : public Error {
public:
    const String& Category() const override { return category_.text; }
    uint32_t Code() const override { return code_; }
    const String& Message() const override { return message_.text; }
    std::span<const ErrorContextEntry> Context() const override { return context_; }
    String Description() const override;

protected:
    BasicErrorBase(String category, uint32_t code, String message);
    void AddContext(String name, String value);

private:
    uint32_t layoutVersion_ = 1;
    NameRecord category_;
    uint32_t code_;
    NameRecord message_;
    std::vector<ErrorContextEntry> context_;
};

} // namespace Util
