#pragma once
// A resource name as FindResource takes it: "#101" names the number 101;
// any other text is a name, which Windows compares in upper case.

#include <QString>
#include <optional>

namespace platform {

struct ResourceName {
    std::optional<quint16> id;  // set for a number
    QString name;               // upper case; empty for a number

    // None for "#" followed by anything but a decimal number from 0 to 65535,
    // and for an empty text: names no resource.
    static std::optional<ResourceName> FromText(const QString& text);
    QString Text() const;  // "#101" or the name
};

}  // namespace platform
