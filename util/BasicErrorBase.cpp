#include "util/BasicErrorBase.h"

#include <utility>

namespace Util {

BasicErrorBase::BasicErrorBase(String category, uint32_t code, String message)
    : category_{0, std::move(category)}, code_(code), message_{0, std::move(message)}
{
    (void)layoutVersion_;
}

void BasicErrorBase::AddContext(String name, String value)
{
    context_.push_back({std::move(name), std::move(value)});
}

String BasicErrorBase::Description() const
{
    String text = format("%1 error %2: %3", category_.text, code_, message_.text);
    for (const auto& entry : context_)
        text += format(" (%1: %2)", entry.name, entry.value);
    return text;
}

} // namespace Util
