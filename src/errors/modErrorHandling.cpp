#include "errors/modErrorHandling.h"

#include "platform/resources/StringTable.h"
#include "platform/vb/VbError.h"

namespace errors {

QString ErrorText(qint32 number) {
    return platform::LoadResString(number).value_or(QStringLiteral("An unknown error has occurred!"));
}

void RaiseClassError(qint32 number, const QString& source) {
    const qint32 fullNumber = static_cast<qint32>(static_cast<quint32>(number) + static_cast<quint32>(vb::ErrNum::ObjectErrorBase));
    throw vb::VbError(fullNumber, ErrorText(number), source);
}

}  // namespace errors
