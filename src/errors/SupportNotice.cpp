#include "errors/SupportNotice.h"

#include "platform/vb/VbString.h"

namespace errors {

QString SupportEMail() { return QStringLiteral("support@zorscr.example.org"); }

QString InitialisationNotice(const QString& text, const QString& code) {
    return text + QStringLiteral(" Please e-mail: ") + vb::UCase(SupportEMail()) +
           QStringLiteral(" with Initialisation Error ") + code + QStringLiteral("as the subject header.\r\n");
}

}  // namespace errors
