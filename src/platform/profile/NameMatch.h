#pragma once
// Section and key names match without regard to case. Each UTF-16 unit is
// folded on its own, so folding never changes a name's length.

#include <QStringView>
#include <cstddef>

namespace platform::profile {

bool NamesEqual(QStringView a, QStringView b);

// Equal names give equal hashes. The hash is keyed with Qt's per-process
// seed, so a hostile file cannot line up collisions.
std::size_t NameHash(QStringView name);

}  // namespace platform::profile
