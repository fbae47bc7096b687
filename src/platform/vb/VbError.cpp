#include "platform/vb/VbError.h"

#include <utility>

namespace vb {

QString StandardDescription(qint32 number) {
    switch (number) {
    case ErrNum::InvalidProcedureCall: return QStringLiteral("Invalid procedure call or argument");
    case ErrNum::Overflow: return QStringLiteral("Overflow");
    case ErrNum::OutOfMemory: return QStringLiteral("Out of memory");
    case ErrNum::SubscriptOutOfRange: return QStringLiteral("Subscript out of range");
    case ErrNum::DivisionByZero: return QStringLiteral("Division by zero");
    case ErrNum::TypeMismatch: return QStringLiteral("Type mismatch");
    case ErrNum::ObjectVariableNotSet: return QStringLiteral("Object variable or With block variable not set");
    case ErrNum::BadFileNameOrNumber: return QStringLiteral("Bad file name or number");
    case ErrNum::FileNotFound: return QStringLiteral("File not found");
    case ErrNum::PermissionDenied: return QStringLiteral("Permission denied");
    case ErrNum::PathFileAccessError: return QStringLiteral("Path/File access error");
    case ErrNum::PathNotFound: return QStringLiteral("Path not found");
    case ErrNum::CantCreateObject: return QStringLiteral("ActiveX component can't create object");
    case ErrNum::InvalidPicture: return QStringLiteral("Invalid picture");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}

VbError::VbError(qint32 number, QString description, QString source)
    : number_(number),
      description_(std::move(description)),
      source_(std::move(source)),
      what_(std::to_string(number) + ": " + description_.toStdString()) {}

VbError::VbError(qint32 number) : VbError(number, StandardDescription(number)) {}

void Raise(qint32 number) { throw VbError(number); }

void Raise(qint32 number, const QString& source, const QString& description) {
    // Like Err.Raise with the description left out: the run-time's own text.
    throw VbError(number, description.isEmpty() ? StandardDescription(number) : description, source);
}

void ErrObject::Clear() {
    number_ = 0;
    description_.clear();
    source_.clear();
}

void ErrObject::Set(const VbError& e) {
    number_ = e.number();
    description_ = e.description();
    source_ = e.source();
}

ErrObject& Err() {
    static ErrObject err;
    return err;
}

}  // namespace vb
