#pragma once
// The program's own string table.

#include <QString>
#include <optional>

namespace platform {

std::optional<QString> LoadResString(int id);

}  // namespace platform
