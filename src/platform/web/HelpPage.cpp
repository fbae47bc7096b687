#include "platform/web/HelpPage.h"

#include "platform/system/ProgramInfo.h"

namespace platform {

QString HelpPagePath() { return JoinPath(ProgramDirectory(), QStringLiteral("ZORhlp.htm")); }

}  // namespace platform
