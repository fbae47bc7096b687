#pragma once
// A VB variant as the records use it: nothing (Empty), a number, a boolean,
// a text, or an object reference.

#include <QString>
#include <memory>
#include <variant>

class QObject;

namespace config {

class Variant {
public:
    using Object = std::shared_ptr<QObject>;

    Variant() = default;
    Variant(QString text) : value_(std::move(text)) {}
    Variant(const char16_t* text) : value_(QString::fromUtf16(text)) {}
    Variant(qint16 number) : value_(number) {}
    Variant(qint32 number) : value_(number) {}
    Variant(double number) : value_(number) {}
    Variant(bool flag) : value_(flag) {}
    Variant(Object object) : value_(std::move(object)) {}

    bool IsEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    bool IsText() const { return std::holds_alternative<QString>(value_); }
    bool IsObject() const { return std::holds_alternative<Object>(value_); }

    // Empty reads as "" and 0; a boolean as "True"/"False" and -1/0. A text
    // converts with the run-time's number rules (error 13 when it cannot);
    // an object converts to nothing (error 13).
    QString ToString() const;
    double ToDouble() const;
    Object ToObject() const;  // null unless an object is held

    bool operator==(const Variant& other) const { return value_ == other.value_; }

private:
    std::variant<std::monostate, qint16, qint32, double, bool, QString, Object> value_;
};

}  // namespace config
