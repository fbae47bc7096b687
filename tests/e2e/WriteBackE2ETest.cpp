// The start's write-backs into the collection under abuse: the real
// executable killed in the middle of them, and an error log path too long
// for a read.

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include "support/CollectionFile.h"
#include "support/XTools.h"

using namespace testsupport;

namespace {

class WriteBackE2E : public ::testing::Test {
protected:
    QString Ini() const { return program_.file("ZORScr.INI"); }
    QString Log() const { return program_.file("ZORError.Log"); }
    // The hidden temporaries beside the collection.
    QStringList Temporaries() const {
        return QDir(program_.file(".")).entryList({".ZORScr.INI.*"}, QDir::Files | QDir::Hidden);
    }

    VirtualDisplay screen_;
    InstalledProgram program_{screen_.name()};
};

// Starts "/P" (which writes back, then ends for want of a window) and kills
// it as the n-th temporary file appears beside the collection; false when it
// ended first. inotify rather than polling: the kill lands mid-write.
bool KillAtTemporary(const InstalledProgram& program, int n) {
    const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    ::inotify_add_watch(watch, QFile::encodeName(program.file(".")).constData(), IN_CREATE);
    const auto process = program.Start({"/P"});
    QElapsedTimer clock;
    clock.start();
    bool killed = false;
    for (int seen = 0; !killed && clock.elapsed() < 20000 && !process->waitForFinished(0);) {
        pollfd ready{watch, POLLIN, 0};
        if (::poll(&ready, 1, 50) <= 0) continue;
        alignas(inotify_event) char events[4096];
        const ssize_t length = ::read(watch, events, sizeof events);
        for (ssize_t at = 0; at < length && !killed;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + at);
            if (event->len && QByteArray(event->name).startsWith(".ZORScr.INI.") && ++seen == n)
                killed = (process->kill(), true);
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    ::close(watch);
    return killed;
}

// A run mode to correct and four user values to fill: five write-backs, each
// rewriting a collection padded to a few megabytes so it takes a while. A
// kill leaves the file in one of the six states of the sequence, and may
// leave a temporary; the next start removes it.
TEST_F(WriteBackE2E, KilledWriteBacksLeaveNoTemporaries) {
    CollectionSpec spec;
    spec.runAs = "X";
    spec.errorLog = Log();
    spec.user = "UserName=\nOrganisation=\nReplyTo=\nEMail=\n";
    QByteArray text = CollectionText(spec) + "[Padding]\n";
    for (int i = 0; i < 40000; ++i) text += "k" + QByteArray::number(i) + "=" + QByteArray(40, 'p') + "\n";
    QList<QByteArray> states{text};
    for (const auto& [from, to] : {std::pair<QByteArray, QByteArray>{"RunAs=X\n", "RunAs=SCREENSAVER\n"},
                                   {"UserName=\n", "UserName=Unknown\n"},
                                   {"Organisation=\n", "Organisation=Unknown\n"},
                                   {"ReplyTo=\n", "ReplyTo=support@zorscr.example.org\n"},
                                   {"EMail=\n", "EMail=Unknown\n"}})
        states << QByteArray(states.back()).replace(from, to);

    int leftBehind = 0;
    for (int i = 0; i < 100; ++i) {
        WriteBytes(Ini(), text);
        ASSERT_TRUE(KillAtTemporary(program_, 1 + i % 5)) << "run " << i;
        EXPECT_TRUE(states.contains(ReadBytes(Ini()))) << "run " << i;
        if (!Temporaries().isEmpty()) ++leftBehind;
        EXPECT_LE(Temporaries().size(), 1) << "run " << i;  // each start removes the ones before
    }
    EXPECT_GT(leftBehind, 0);  // the kills did land mid-write

    WriteBytes(Ini(), text);
    EXPECT_EQ(program_.Run({"/P"}), 0);
    EXPECT_EQ(ReadBytes(Ini()), states.back());
    EXPECT_EQ(Temporaries(), QStringList());
}

// Longer than a read can hold, the path is cut; the cut text would name a
// stray file. The default log takes the records and the file stays as it is.
TEST_F(WriteBackE2E, ErrorLogLongerThanAReadIsNotUsed) {
    CollectionSpec spec;
    const QString longName = QString(150, u'a') + ".log";
    spec.errorLog = program_.file(longName);
    const QByteArray text = CollectionText(spec);
    WriteBytes(Ini(), text);
    EXPECT_EQ(program_.Run({"/P"}), 0);
    EXPECT_EQ(ReadBytes(Ini()), text);
    EXPECT_TRUE(ReadText(Log()).contains("<<ERR002>> - Hwnd API Failure"));
    EXPECT_EQ(QDir(program_.file(".")).entryList({"aaa*"}), QStringList());
}

}  // namespace
