#include "platform/system/MachineFacts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <climits>
#include <dlfcn.h>
#include <pwd.h>
#include <sched.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace platform {

MemoryStatus ReadMemoryStatus() {
    QFile file(QStringLiteral("/proc/meminfo"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return {};
    quint64 totalKB = 0, availableKB = 0, freeKB = 0;
    bool hasAvailable = false;
    for (const QByteArray& line : file.readAll().split('\n')) {  // "MemTotal:  24683784 kB"
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 2) continue;
        const quint64 value = fields[1].toULongLong();
        if (fields[0] == "MemTotal:") totalKB = value;
        if (fields[0] == "MemFree:") freeKB = value;
        if (fields[0] == "MemAvailable:") {
            availableKB = value;
            hasAvailable = true;
        }
    }
    // Kernels before 3.14 do not estimate what is available.
    if (!hasAvailable) availableKB = freeKB;
    availableKB = qMin(availableKB, totalKB);
    MemoryStatus status;
    status.totalBytes = totalKB * 1024;
    status.availableBytes = availableKB * 1024;
    if (totalKB > 0) status.loadPercent = static_cast<quint32>(((totalKB - availableKB) * 100 + totalKB / 2) / totalKB);
    return status;
}

ProcessorInfo ReadProcessorInfo() {
    ProcessorInfo info;
    struct utsname names {};
    if (::uname(&names) == 0) {
        const QByteArray machine(names.machine);
        if (machine == "i386") info.processorType = kProcessor386;
        if (machine == "i486") info.processorType = kProcessor486;
        if (machine == "i586" || machine == "i686" || machine == "x86_64") info.processorType = kProcessorPentium;
    }
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0) {
        info.numberOfProcessors = static_cast<quint32>(CPU_COUNT(&set));
        for (int cpu = 0; cpu < 32; ++cpu) {
            if (CPU_ISSET(cpu, &set)) info.activeProcessorMask |= 1u << cpu;
        }
    }
    return info;
}

int KeyboardTypeInfo(int which) {
    switch (which) {
        case 0: return 4;
        case 2: return 12;
        default: return 0;
    }
}

QString TempPath() { return QDir::tempPath(); }

QString SystemDirectory() {
    Dl_info library {};
    if (::dladdr(reinterpret_cast<void*>(&::getpid), &library) != 0 && library.dli_fname) {
        const QString folder = QFileInfo(QFile::decodeName(library.dli_fname)).canonicalPath();
        if (!folder.isEmpty()) return folder;
    }
    return QStringLiteral("/usr/lib");
}

QString WindowsDirectory() { return QStringLiteral("/usr"); }

QString ComputerName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, HOST_NAME_MAX) != 0) return {};
    return QString::fromLocal8Bit(name);
}

QString UserName() {
    if (const passwd* user = ::getpwuid(::geteuid()); user && user->pw_name) return QString::fromLocal8Bit(user->pw_name);
    return qEnvironmentVariable("USER");
}

}  // namespace platform
