#include "password/Regqry.h"

#include "platform/registry/UserRegistry.h"

namespace password {

QString ReadRegistryValue(const QString& key, const QString& valueName) {
    using namespace platform::registry;
    RegValue value;
    if (QueryValue(key, valueName, value) != ReadResult::Found) return {};
    switch (value.type) {
    case ValueType::String:
        return value.text;
    case ValueType::Dword:
        return QString::number(value.number);
    case ValueType::Other:
        break;
    }
    return {};
}

}  // namespace password
