#pragma once
// Memory, processor, keyboard, folder and name facts of this machine, in the
// shape of the Windows calls that give them. Texts come whole: the caller
// applies its own buffer rules. An empty text means the fact is unknown.

#include <QString>

namespace platform {

struct MemoryStatus {
    quint32 loadPercent = 0;  // the part of physical memory in use, rounded
    quint64 totalBytes = 0;   // physical memory (MemTotal)
    quint64 availableBytes = 0;  // what programs can still get without swapping (MemAvailable)
};
// From /proc/meminfo; all 0 when it cannot be read.
MemoryStatus ReadMemoryStatus();

// Windows' processor-type numbers this program tells apart.
constexpr quint32 kProcessor386 = 386, kProcessor486 = 486, kProcessorPentium = 586;

struct ProcessorInfo {
    // i386 gives 386, i486 gives 486, i586, i686 and x86_64 give 586 (the
    // number Windows gives a 32-bit program on any Pentium or later); other
    // machines (arm, aarch64, riscv64, ...) give 0.
    quint32 processorType = 0;
    quint32 numberOfProcessors = 0;   // the processors this process may run on (as nproc counts)
    quint32 activeProcessorMask = 0;  // bit n: processor n is one of them; processors past 31 are not shown
};
ProcessorInfo ReadProcessorInfo();

// GetKeyboardType's answers. Linux tells nothing of the keyboard's make, so
// the standard PC keyboard stands in: which 0 gives type 4 ("IBM enhanced",
// 101 or 102 keys), 1 gives subtype 0, 2 gives its 12 function keys; any
// other which gives 0.
int KeyboardTypeInfo(int which);

// The folder for temporary files (TMPDIR, else /tmp).
QString TempPath();
// The folder of the system's shared libraries: where the C library was
// loaded from ("/usr/lib/x86_64-linux-gnu"), "/usr/lib" when it cannot tell.
QString SystemDirectory();
// The operating system's own folder: "/usr", which holds its programs,
// libraries and shared data as the Windows folder does.
QString WindowsDirectory();

QString ComputerName();  // the host name
QString UserName();      // the effective user's login name (USER when the user database has none)

}  // namespace platform
