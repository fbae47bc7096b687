#pragma once
// Reading one of the current user's registry values as text.

#include <QString>

namespace password {

// Under HKEY_CURRENT_USER\key: a text value as it is, a 32-bit number in
// decimal digits; "" for a missing key or value, any other type, or a store
// that cannot be read. Never raises.
QString ReadRegistryValue(const QString& key, const QString& valueName);

}  // namespace password
