#include "platform/system/TerminationSignals.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The signal a child of the test died of; one still running after 3 s is
// killed (no process of the test outlives it) and gives 0.
int EndingSignal(pid_t pid) {
    int status = 0;
    for (int tries = 0; tries < 300; ++tries, ::usleep(10000))
        if (::waitpid(pid, &status, WNOHANG) == pid) return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return 0;
}

// A terminated program takes the processes it started with it, then dies of
// the signal, as its host expects.
TEST(TerminationSignalsTest, TheProgramEndsWithItsChildrenAndDiesOfTheSignal) {
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);  // the program's orphaned child is reaped here
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const pid_t program = ::fork();
    if (program == 0) {
        platform::EndOnTerminationSignals();
        const pid_t child = ::fork();
        if (child != 0 && ::write(pipe[1], &child, sizeof child) != sizeof child) ::_exit(1);
        for (;;) ::pause();
    }
    pid_t child = 0;
    ASSERT_EQ(::read(pipe[0], &child, sizeof child), ssize_t(sizeof child));
    ::kill(program, SIGTERM);
    EXPECT_EQ(EndingSignal(program), SIGTERM);
    EXPECT_EQ(EndingSignal(child), SIGKILL);
    ::prctl(PR_SET_CHILD_SUBREAPER, 0);
    for (const int end : pipe) ::close(end);
}

}  // namespace
