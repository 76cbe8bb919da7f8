#include "util/TypedValue.h"

namespace Util {

namespace {
const char* const typeNames[] = {"UInt", "Int", "Float", "Bool", "String", "Base64", "Dictionary", "Array"};
}

TypedValue TypedValue::fromDictionary(TypedDictionary v)
{
    return TypedValue(Storage(std::make_shared<TypedDictionary>(std::move(v))));
}

const char* TypedValue::typeName(Type type) { return typeNames[int(type)]; }

bool TypedValue::typeFromName(const String& name, Type& type)
{
    for (int i = 0; i < 8; ++i)
        if (name == typeNames[i]) {
            type = Type(i);
            return true;
        }
    return false;
}

bool TypedValue::operator==(const TypedValue& other) const
{
    if (type() != other.type())
        return false;
    if (type() == Type::Dictionary)
        return asDictionary() == other.asDictionary();
    return value_ == other.value_;
}

const TypedValue* TypedDictionary::find(const String& key) const
{
    const auto it = members_.find(key);
    return it == members_.end() ? nullptr : &it->second;
}

} // namespace Util
