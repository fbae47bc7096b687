#include "platform/system/TerminationSignals.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <atomic>
#include <poll.h>
#include <thread>

namespace platform {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int wakePipe[2] = {-1, -1};
// To the GUI thread's action (BeforeSignalEnd) and back; -1 without one.
std::atomic<int> askAction{-1};
int actionDone[2] = {-1, -1};

// Only what is safe in a signal handler: hand the number to the thread.
void Note(int signal) {
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(wakePipe[1], &number, 1);
}

// What the watcher does after a signal uses raw system calls only: no
// malloc, no stdio, no opendir. Another thread may hold their locks at that
// moment and keep them (one flushing output into a pipe nobody reads any
// more, one ending the program through exit() on the same output), and the
// end must not wait for it.
constexpr int kMaxProcesses = 1 << 16;
pid_t processes[kMaxProcesses], parents[kMaxProcesses], found[kMaxProcesses];

// "/proc/<pid>/stat" into path, which holds 32 characters.
void StatPath(pid_t pid, char* path) {
    char digits[16];
    int count = 0;
    do {
        digits[count++] = char('0' + pid % 10);
        pid /= 10;
    } while (pid > 0);
    const char prefix[] = "/proc/";
    char* at = path;
    for (const char* c = prefix; *c; ++c) *at++ = *c;
    while (count > 0) *at++ = digits[--count];
    for (const char* c = "/stat"; *c; ++c) *at++ = *c;
    *at = '\0';
}

// The parent named in a process's stat line ("pid (name) state ppid ..."; the
// name may hold spaces and parentheses), or 0.
pid_t ParentOf(pid_t pid) {
    char path[32], text[512];
    StatPath(pid, path);
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    const ssize_t length = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (length <= 0) return 0;
    text[length] = '\0';
    const char* close = nullptr;
    for (const char* c = text; *c; ++c)
        if (*c == ')') close = c;
    if (!close || close[1] != ' ' || close[2] == '\0' || close[3] != ' ') return 0;
    pid_t parent = 0;
    for (const char* c = close + 4; *c >= '0' && *c <= '9'; ++c) parent = parent * 10 + (*c - '0');
    return parent;
}

// Every process and its parent, from /proc; how many.
int ProcessParents() {
    const int proc = ::open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (proc < 0) return 0;
    int count = 0;
    alignas(dirent64) char entries[8192];
    for (ssize_t length; (length = ::getdents64(proc, entries, sizeof entries)) > 0;) {
        for (ssize_t at = 0; at < length && count < kMaxProcesses;) {
            const auto* entry = reinterpret_cast<const dirent64*>(entries + at);
            at += entry->d_reclen;
            pid_t pid = 0;
            const char* c = entry->d_name;
            for (; *c >= '0' && *c <= '9'; ++c) pid = pid * 10 + (*c - '0');
            if (pid <= 0 || *c != '\0') continue;
            processes[count] = pid;
            parents[count++] = ParentOf(pid);
        }
    }
    ::close(proc);
    return count;
}

// Kills the children first and their children after them, so that none is
// left to start another.
void KillDescendants(pid_t ancestor) {
    const int count = ProcessParents();
    int foundCount = 0;
    found[foundCount++] = ancestor;
    for (int i = 0; i < foundCount; ++i)
        for (int p = 0; p < count && foundCount < kMaxProcesses; ++p)
            if (parents[p] == found[i]) {
                ::kill(processes[p], SIGKILL);
                found[foundCount++] = processes[p];
            }
}

void Watch() {
    unsigned char number = 0;
    ssize_t got = 0;
    while ((got = ::read(wakePipe[0], &number, 1)) < 0 && errno == EINTR) {
    }
    if (got != 1) {  // no pipe to wait on: the signals end the program by themselves
        for (const int signal : kSignals) ::signal(signal, SIG_DFL);
        return;
    }
    if (const int ask = askAction.load(); ask >= 0 && ::write(ask, &number, 1) == 1) {
        pollfd done{actionDone[0], POLLIN, 0};
        while (::poll(&done, 1, kSignalActionMs) < 0 && errno == EINTR) {
        }
    }
    KillDescendants(::getpid());
    ::signal(number, SIG_DFL);
    ::kill(::getpid(), number);  // dies of it: the parent sees why
    ::_exit(128 + number);
}

}  // namespace

void EndOnTerminationSignals() {
    // A host may start the program with these signals blocked (a mask is
    // inherited through fork and exec); blocked in every thread, they would
    // stay pending and the program would outlive its host's request.
    sigset_t ours;
    sigemptyset(&ours);
    for (const int signal : kSignals) sigaddset(&ours, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &ours, nullptr);
    if (::pipe2(wakePipe, O_CLOEXEC) != 0) return;
    std::thread(Watch).detach();
    struct sigaction action {};
    action.sa_handler = Note;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

void BeforeSignalEnd(void (*action)()) {
    int ask[2];
    if (::pipe2(ask, O_CLOEXEC) != 0) return;
    if (::pipe2(actionDone, O_CLOEXEC) != 0) {
        ::close(ask[0]);
        ::close(ask[1]);
        return;
    }
    auto* notifier = new QSocketNotifier(ask[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, action] {
        notifier->setEnabled(false);  // once: the program ends now
        action();
        const unsigned char done = 1;
        [[maybe_unused]] const ssize_t written = ::write(actionDone[1], &done, 1);
    });
    askAction = ask[1];
}

}  // namespace platform
