#include "platform/CriticalSection.h"

#include <utility>

namespace Platform {

CriticalSection::CriticalSection(Util::String name) : name_(std::move(name)) {}

} // namespace Platform
