// The real executable killed in the middle of its start's write-backs.

#include <gtest/gtest.h>

#include <QDir>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include "support/CollectionFile.h"
#include "support/XTools.h"

using namespace testsupport;

namespace {

// Starts "/P" (which writes back, then ends for want of a window) and kills
// it as the n-th temporary file appears beside the collection; false when it
// ended first. inotify rather than polling: the kill lands mid-write.
bool KillAtTemporary(const InstalledProgram& program, int n) {
    const int watch = ::inotify_init1(IN_CLOEXEC);
    // The renames too: inotify merges an event with an identical one still unread.
    ::inotify_add_watch(watch, QFile::encodeName(program.file(".")).constData(), IN_CREATE | IN_MOVED_FROM);
    const auto process = program.Start({"/P"});
    alignas(inotify_event) char events[4096];
    pollfd ready{watch, POLLIN, 0};
    for (int seen = 0, waited = 0; waited < 20000 && !process->waitForFinished(0); waited += 50) {
        if (::poll(&ready, 1, 50) <= 0) continue;
        const ssize_t length = ::read(watch, events, sizeof events);
        for (char* at = events; at < events + length; at += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(at)->len) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if ((event->mask & IN_CREATE) && QByteArray(event->name).startsWith(".ZORScr.INI.") && ++seen == n)
                return process->kill(), ::close(watch), true;
        }
    }
    return ::close(watch), false;
}

// A run mode to correct and four user values to fill: five write-backs, each
// rewriting a collection padded to a few megabytes so it takes a while. A
// kill leaves the file in one of the six states of the sequence, and may
// leave a temporary; the next start removes it.
TEST(WriteBackE2E, KilledWriteBacksLeaveNoTemporaries) {
    const VirtualDisplay screen;
    const InstalledProgram program(screen.name());
    const QString ini = program.file("ZORScr.INI");
    const auto temporaries = [&] { return QDir(program.file(".")).entryList({".ZORScr.INI.*"}, QDir::Files | QDir::Hidden); };
    QByteArray text = CollectionText({.runAs = "", .errorLog = program.file("ZORError.Log"),
                                      .user = "UserName=\nOrganisation=\nReplyTo=\nEMail=\n"}) + "[Padding]\n";
    for (int i = 0; i < 40000; ++i) text += "k" + QByteArray::number(i) + "=" + QByteArray(40, 'p') + "\n";
    QList<QByteArray> states{text};
    for (const QByteArray fix : {"RunAs=SCREENSAVER", "UserName=Unknown", "Organisation=Unknown",
                                 "ReplyTo=support@zorscr.example.org", "EMail=Unknown"})
        states << QByteArray(states.back()).replace(fix.left(fix.indexOf('=') + 1) + '\n', fix + '\n');

    int leftBehind = 0;
    for (int i = 0; i < 100; ++i) {
        WriteBytes(ini, text);
        ASSERT_TRUE(KillAtTemporary(program, 1 + i % 5)) << "run " << i;
        EXPECT_TRUE(states.contains(ReadBytes(ini))) << "run " << i;
        leftBehind += temporaries().size();
        EXPECT_LE(temporaries().size(), 1) << "run " << i;  // each start removes the ones before
    }
    EXPECT_GT(leftBehind, 0);  // the kills did land mid-write

    WriteBytes(ini, text);
    EXPECT_EQ(program.Run({"/P"}), 0);
    EXPECT_EQ(ReadBytes(ini), states.back());
    EXPECT_EQ(temporaries(), QStringList());
}

}  // namespace
