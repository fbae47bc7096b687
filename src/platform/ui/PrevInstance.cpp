#include "platform/ui/PrevInstance.h"

#include <QByteArray>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/system/PrivateFolder.h"
#include "platform/system/ProgramInfo.h"
#include "platform/vb/EndProgram.h"

namespace platform {
namespace {

// Every running copy holds a shared lock on one file in the user's private
// folder, where no other user can make or hold it. A copy that can take the
// lock exclusively is alone; it then keeps a shared lock. The last copy to
// end removes the file while it holds it exclusively, so a copy that opened
// it meanwhile finds its file no longer named and starts over on a new one.
int registered = -1;

QByteArray LockName() { return ExecutableName().toUtf8() + ".lock"; }

bool StillNamed(int fd) {
    struct stat held {}, named {};
    return ::fstat(fd, &held) == 0 &&
           ::fstatat(PrivateFolder(), LockName().constData(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

void RemoveIfLast() {
    if (::flock(registered, LOCK_EX | LOCK_NB) == 0) ::unlinkat(PrivateFolder(), LockName().constData(), 0);
}

bool TestAndRegister() {
    for (int round = 0; round < 10; ++round) {
        const int fd = OpenPrivateLockFile(LockName());
        if (fd < 0) return false;  // no lock file of our own, no way to tell: behave as the only copy
        bool another = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        // Downgrade (or join the other copies); the descriptor stays open until exit.
        for (int attempt = 0; attempt < 50 && ::flock(fd, LOCK_SH | LOCK_NB) != 0; ++attempt) {
            another = true;  // someone holds it exclusively while testing or removing it
            ::usleep(2000);
        }
        if (StillNamed(fd)) {
            registered = fd;
            vb::AtProgramEnd(RemoveIfLast);
            return another;
        }
        ::close(fd);
    }
    return false;
}

}  // namespace

bool PrevInstance() {
    static const bool another = TestAndRegister();
    return another;
}

}  // namespace platform
