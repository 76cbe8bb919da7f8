#include "param/KeyValueCoding.h"

namespace Controller {

KeyValue KeyValueCoding::ValueForKeyPath(const Util::String& keyPath)
{
    const auto dot = keyPath.find('.');
    if (dot == Util::String::npos)
        return ValueForKey(keyPath);
    const KeyValue head = ValueForKey(keyPath.substr(0, dot));
    if (auto* const* nested = std::get_if<KeyValueCoding*>(&head); nested && *nested)
        return (*nested)->ValueForKeyPath(keyPath.substr(dot + 1));
    return {};
}

} // namespace Controller
