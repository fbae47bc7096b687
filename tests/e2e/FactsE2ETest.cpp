// ZORFacts against what the system's own tools report on the same machine.

#include <gtest/gtest.h>

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <cmath>

#include "support/TestSupport.h"

namespace {

QString Output(const QString& program, const QStringList& arguments = {}) {
    // nproc would report OMP_NUM_THREADS instead of the processors.
    const testsupport::Ran ran = testsupport::RunProgram(program, arguments, {{"OMP_NUM_THREADS", {}}, {"OMP_THREAD_LIMIT", {}}});
    EXPECT_EQ(ran.code, 0) << program.toStdString();
    return ran.out;
}

// The whole-number fields of a text, in order.
QList<double> Numbers(const QString& text) {
    QList<double> numbers;
    static const QRegularExpression number(QStringLiteral("\\d+"));
    for (auto it = number.globalMatch(text); it.hasNext();) numbers << it.next().captured().toDouble();
    return numbers;
}

TEST(FactsE2E, AgreesWithTheSystemsTools) {
    QMap<QString, QString> facts;
    for (const QString& line : Output(ZORFACTS_EXE).split(u'\n', Qt::SkipEmptyParts))
        facts.insert(line.section(QStringLiteral(": "), 0, 0), line.section(QStringLiteral(": "), 1));
    EXPECT_EQ(facts.value("Platform"), "Windows NT");

    // The line under df's heading; free space moves while others write.
    const QList<double> df = Numbers(Output("df", {"-k", "--output=size,avail", "/"}).section(u'\n', 1));
    const QList<double> drive = Numbers(facts.value("DriveInfo(/)"));
    ASSERT_EQ(df.size(), 2);
    ASSERT_EQ(drive.size(), 2);
    EXPECT_LE(std::abs(drive[0] - df[0]), df[0] * 0.01);
    EXPECT_LE(std::abs(drive[1] - df[1]), df[0] * 0.02);

    QFile meminfo("/proc/meminfo");
    ASSERT_TRUE(meminfo.open(QIODevice::ReadOnly));
    const double memTotal = Numbers(QString::fromLatin1(meminfo.readLine())).value(0);  // "MemTotal: N kB"
    const QList<double> memory = Numbers(facts.value("FreeMemory"));  // load, total, available
    ASSERT_EQ(memory.size(), 3);
    EXPECT_LE(std::abs(memory[1] - memTotal), memTotal * 0.01);
    EXPECT_LE(memory[2], memory[1]);

    EXPECT_EQ(facts.value("Processors"), Output("nproc").trimmed());
    EXPECT_EQ(facts.value("ComputerName"), Output("hostname").trimmed());
    EXPECT_FALSE(facts.value("HardwareDecoding").isEmpty());
}

}  // namespace
