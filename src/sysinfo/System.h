#pragma once
// Drive, memory, keyboard, processor, folder and name facts of the machine,
// each the answer of one system call made into a number or a display text.
// A drive is a mounted file system; any path on it names it ("/",
// "/media/ann/STICK", "/home/ann"). Folder texts end with "/".

#include <QString>

namespace sysinfo {

class System {
public:
    // gDriveTotalKB and gDriveFreeKB become the size and the space the user
    // may still fill of root's drive, in kilobytes; both 0 when it has none.
    void DriveInfo(const QString& root) const;
    // Adds 1 to the counter of each drive's kind; other kinds are not
    // counted, and the counters are not reset first.
    void Drives(qint16& intRemovable, qint16& intNotRemovable, qint16& intCD, qint16& intRAM,
                qint16& intNetwork) const;
    // "Removable drive", "Fixed drive", "Network drive", "CD-ROM drive" or
    // "RAM-disk"; the empty string for anything else.
    QString DriveType(const QString& strRoot) const;
    // The number with "." between groups of three digits: 1234567 gives
    // "1.234.567"; a sign stays in front ("-1.234").
    QString PutPoints(qint32 number) const;
    // The kilobytes the user may still fill on the drive, up to 2^31 - 1;
    // 0 when it has none. The process's current folder is left alone.
    qint32 FastDiskSpace(const QString& drive) const;
    // The part of physical memory in use, in percent, and the total and the
    // available physical memory in kilobytes (rounded, up to 2^31 - 1).
    void FreeMemory(quint8& load, qint32& totalKB, qint32& availableKB) const;
    quint8 FunctionKeys() const;
    // By the keyboard-type number: "IBM enhanced (101 or 102 key)" and so on.
    QString KeyboardType() const;
    // The processor count, the active-processor mask (bit n: processor n),
    // and "80386", "80486" or "Intel Pentium"; strProcessor stays as it was
    // on any other processor.
    void SystemInfo(QString& strProcessor, qint32& lngNumOfProcessors, qint32& lngActiveProcessor) const;
    QString TempDir() const;
    QString SystemDir() const;  // the folder of the system's shared libraries
    QString WinDir() const;     // the operating system's folder, "/usr/"
    QString ComputerName() const;
    QString UserName() const;
    // "XXXX-XXXX", upper-case hexadecimal; "0000-0000" when the drive has none.
    QString SerialNumber(const QString& strRoot) const;
    // The label; "Not Labeled" when it has none; empty when there is no such drive.
    QString VolumeLabel(const QString& strRoot) const;
    // The version into major and minor, and the platform's name.
    QString WinVer(qint16& major, qint16& minor) const;
};

// The text rules of the facts, apart from the calls that give them.
// What a call that wrote text into a 50-character buffer leaves: trailing
// spaces removed, then the text cut at its first NUL. A text that does not
// fit with its terminating NUL (50 characters or more) fails: empty.
QString TextFromBuffer(const QString& written);
// TextFromBuffer with a "/" appended unless it ends with one; empty stays empty.
QString FolderText(const QString& written);
// "XXXX-XXXX": eight upper-case hexadecimal digits, zero-padded.
QString SerialText(quint32 serial);
// Platform 0: "Windows <major>.<minor>"; 1: "Windows 95"; 2: "Windows NT"; else "".
QString WinVerName(qint32 platformId, qint32 major, qint32 minor);

}  // namespace sysinfo
