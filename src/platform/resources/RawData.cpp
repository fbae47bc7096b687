#include "platform/resources/RawData.h"

#include <QFile>
#include <optional>

#include "platform/resources/ResourceName.h"
#include "platform/vb/VbError.h"

namespace platform {

QByteArray LoadResData(const QString& id) {
    if (const std::optional<ResourceName> name = ResourceName::FromText(id)) {
        QFile file(QStringLiteral(":/rcdata/") + name->Text());
        if (file.open(QIODevice::ReadOnly)) return file.readAll();
    }
    throw vb::VbError(vb::ErrNum::ResourceNotFound,
                      QStringLiteral("Resource with identifier '%1' not found").arg(id));
}

}  // namespace platform
