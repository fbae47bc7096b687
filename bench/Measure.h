#pragma once
// What the benchmarks read off the running program: a process's processor
// time and the median of what was measured (one pixel of the screen comes
// from testsupport::PixelProbe).

#include <QFile>
#include <algorithm>
#include <vector>
#include <unistd.h>

// User and system time of a running process, in seconds.
inline double CpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = stat.readAll().split(' ');
    // utime and stime are the 14th and 15th fields, after a name without spaces.
    return (fields.value(13).toDouble() + fields.value(14).toDouble()) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}
