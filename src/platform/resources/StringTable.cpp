#include "platform/resources/StringTable.h"

#include <map>

namespace platform {

std::optional<QString> LoadResString(int id) {
    static const std::map<int, QString> table = {
        {183, QStringLiteral("ZOR encountered an error. The most probable cause of this is a slow Internet "
                             "Connection or the Movie no longer exists on the remote Server")},
        {184, QStringLiteral("ZOR encountered an error. The most probable cause of this is that movies have "
                             "been moved between runs of ZOR. Perhaps a CD or drive mapping has been changed.")},
        {185, QStringLiteral("ZOR Movie Location error")},
    };
    const auto it = table.find(id);
    if (it == table.end()) return std::nullopt;
    return it->second;
}

}  // namespace platform
