#include "platform/system/TerminationSignals.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace platform {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int wakePipe[2] = {-1, -1};

// Only what is safe in a signal handler: hand the number to the thread.
void Note(int signal) {
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(wakePipe[1], &number, 1);
}

// Every process's parent, from /proc.
std::vector<std::pair<pid_t, pid_t>> ProcessParents() {
    std::vector<std::pair<pid_t, pid_t>> parents;
    DIR* proc = ::opendir("/proc");
    if (!proc) return parents;
    while (const dirent* entry = ::readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0') continue;
        char path[64];
        std::snprintf(path, sizeof path, "/proc/%ld/stat", pid);
        FILE* stat = std::fopen(path, "re");
        if (!stat) continue;
        char text[512] = {};
        const size_t length = std::fread(text, 1, sizeof text - 1, stat);
        std::fclose(stat);
        text[length] = '\0';
        // "pid (name) state ppid ...": the name may hold spaces and parentheses.
        const char* close = nullptr;
        for (const char* c = text; *c; ++c)
            if (*c == ')') close = c;
        long parent = 0;
        if (close && std::sscanf(close + 1, " %*c %ld", &parent) == 1)
            parents.emplace_back(static_cast<pid_t>(pid), static_cast<pid_t>(parent));
    }
    ::closedir(proc);
    return parents;
}

// Kills the children first and their children after them, so that none is
// left to start another.
void KillDescendants(pid_t ancestor) {
    const auto parents = ProcessParents();
    std::vector<pid_t> found{ancestor};
    for (size_t i = 0; i < found.size(); ++i)
        for (const auto& [pid, parent] : parents)
            if (parent == found[i]) {
                ::kill(pid, SIGKILL);
                found.push_back(pid);
            }
}

void Watch() {
    unsigned char number = 0;
    while (::read(wakePipe[0], &number, 1) != 1) {
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

}  // namespace platform
