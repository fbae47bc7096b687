#pragma once

#include <QString>

namespace errors {

// The program's message text for an error number, or "An unknown error has
// occurred!" when the string table has none.
QString ErrorText(qint32 number);

// Raises, in the caller, error number + the object-error base with the given
// source and the ErrorText of number as its description.
[[noreturn]] void RaiseClassError(qint32 number, const QString& source);

}  // namespace errors
