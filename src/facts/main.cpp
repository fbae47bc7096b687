// ZORFacts: prints the machine facts the screensaver reads, one "Name: value"
// line each, for a bug report. Needs no display.

#include <QTextStream>

#include "platform/media/HardwareDecoders.h"
#include "platform/system/Drives.h"
#include "state/RunState.h"
#include "sysinfo/SysInfo.h"
#include "sysinfo/System.h"

using namespace state;
using namespace sysinfo;

int main() {
    QTextStream out(stdout);
    const SysInfo version;
    const System system;
    const auto kb = [](double kilobytes) { return QString::number(kilobytes, 'f', 0) + QStringLiteral(" KB"); };

    out << "Platform: " << version.Platform() << "\nVersion: " << version.Version() << "\nCSDVersion: "
        << version.CSDVersion() << '\n';
    qint16 major = 0, minor = 0;
    const QString name = system.WinVer(major, minor);
    out << "WinVer: " << name << ' ' << major << '.' << minor << '\n';

    qint16 removable = 0, fixed = 0, cd = 0, ram = 0, network = 0;
    system.Drives(removable, fixed, cd, ram, network);
    out << "Drives: removable " << removable << ", fixed " << fixed << ", CD-ROM " << cd << ", RAM-disk " << ram
        << ", network " << network << '\n';
    for (const QString& root : platform::DriveRoots()) {
        system.DriveInfo(root);
        out << "DriveInfo(" << root << "): total " << kb(gDriveTotalKB) << ", free " << kb(gDriveFreeKB) << '\n'
            << "DriveType(" << root << "): " << system.DriveType(root) << '\n'
            << "FastDiskSpace(" << root << "): " << system.FastDiskSpace(root) << " KB\n"
            << "SerialNumber(" << root << "): " << system.SerialNumber(root) << '\n'
            << "VolumeLabel(" << root << "): " << system.VolumeLabel(root) << '\n';
    }

    quint8 load = 0;
    qint32 totalKB = 0, availableKB = 0;
    system.FreeMemory(load, totalKB, availableKB);
    out << "FreeMemory: load " << int(load) << "%, total " << totalKB << " KB, available " << availableKB << " KB\n";
    QString processor = QStringLiteral("other");
    qint32 processors = 0, mask = 0;
    system.SystemInfo(processor, processors, mask);
    out << "Processor: " << processor << "\nProcessors: " << processors
        << "\nActiveProcessorMask: " << static_cast<quint32>(mask) << '\n';
    out << "FunctionKeys: " << int(system.FunctionKeys()) << "\nKeyboardType: " << system.KeyboardType() << '\n';
    out << "TempDir: " << system.TempDir() << "\nSystemDir: " << system.SystemDir() << "\nWinDir: "
        << system.WinDir() << "\nComputerName: " << system.ComputerName() << "\nUserName: " << system.UserName()
        << '\n';
    // What the player's hwdec=auto-safe can take here.
    const QStringList decoders = platform::media::UsableHardwareDecoders();
    out << "HardwareDecoding: " << (decoders.isEmpty() ? QStringLiteral("none usable (software)") : decoders.join(u", "))
        << '\n';
}
