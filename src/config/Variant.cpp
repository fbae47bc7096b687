#include "config/Variant.h"

#include "platform/vb/VbConvert.h"
#include "platform/vb/VbError.h"

namespace config {

namespace {
template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;
}  // namespace

QString Variant::ToString() const {
    return std::visit(Overloaded{
                          [](std::monostate) { return QString(); },
                          [](bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); },
                          [](const QString& s) { return s; },
                          [](const Object&) -> QString { vb::Raise(vb::ErrNum::TypeMismatch); },
                          [](double d) { return QString::number(d, 'g', 15); },
                          [](auto number) { return QString::number(number); },
                      },
                      value_);
}

double Variant::ToDouble() const {
    return std::visit(Overloaded{
                          [](std::monostate) { return 0.0; },
                          [](bool b) { return b ? -1.0 : 0.0; },
                          [](const QString& s) { return vb::CDbl(s); },
                          [](const Object&) -> double { vb::Raise(vb::ErrNum::TypeMismatch); },
                          [](auto number) { return static_cast<double>(number); },
                      },
                      value_);
}

Variant::Object Variant::ToObject() const {
    const Object* object = std::get_if<Object>(&value_);
    return object ? *object : nullptr;
}

}  // namespace config
