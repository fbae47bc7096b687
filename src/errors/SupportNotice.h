#pragma once

#include <QString>

namespace errors {

// The address users are asked to write to about a failure.
QString SupportEMail();

// The notice that asks the user to report an initialisation failure: text,
// the address, the code, then a line break.
QString InitialisationNotice(const QString& text, const QString& code);

}  // namespace errors
