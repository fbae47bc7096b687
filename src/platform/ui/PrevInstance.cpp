#include "platform/ui/PrevInstance.h"

#include <QByteArray>
#include <cerrno>
#include <sys/file.h>
#include <unistd.h>

#include "platform/system/PrivateFolder.h"
#include "platform/system/ProgramInfo.h"

namespace platform {
namespace {

// Every running copy holds a shared lock on one file in the user's private
// folder, where no other user can make or hold it. A copy that can take the
// lock exclusively is alone; it then keeps a shared lock.
bool TestAndRegister() {
    const int fd = OpenPrivateLockFile(ExecutableName().toUtf8() + ".lock");
    if (fd < 0) return false;  // no lock file of our own, no way to tell: behave as the only copy
    bool another = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    // Downgrade (or join the other copies); the descriptor stays open until exit.
    for (int attempt = 0; attempt < 50 && ::flock(fd, LOCK_SH | LOCK_NB) != 0; ++attempt) {
        another = true;  // someone holds it exclusively while testing
        ::usleep(2000);
    }
    return another;
}

}  // namespace

bool PrevInstance() {
    static const bool another = TestAndRegister();
    return another;
}

}  // namespace platform
