#include "platform/ui/PrevInstance.h"

#include <QByteArray>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/system/ProgramInfo.h"

namespace platform {
namespace {

// Every running copy holds a shared lock on one file per user. A copy that
// can take the lock exclusively is alone; it then keeps a shared lock.
QByteArray LockFilePath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    QByteArray folder = runtime && *runtime ? QByteArray(runtime) : QByteArray("/tmp");
    return folder + "/" + ExecutableName().toUtf8() + "-" + QByteArray::number(::getuid()) + ".lock";
}

bool TestAndRegister() {
    const int fd = ::open(LockFilePath().constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;  // no lock file, no way to tell: behave as the only copy
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
