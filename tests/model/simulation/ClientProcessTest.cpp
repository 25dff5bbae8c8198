#include "model/simulation/ClientProcess.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/sem.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>

namespace {

// Neither zombie nor running: the process has been reaped.
bool IsReaped(pid_t pid) {
    return kill(pid, 0) == -1 && errno == ESRCH;
}

bool SemaphoreSetExists(int set) {
    return semctl(set, 0, GETVAL) != -1;
}

long long MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

} // namespace

TEST(ClientProcess, AProgramThatCannotStartFailsTheFirstExchangeAtOnce) {
    ClientProcess client;
    const pid_t pid = client.Start("/nonexistent/quiran-client", 0);
    ASSERT_GT(pid, 0);
    const int set = client.GetSemaphoreSet();
    EXPECT_TRUE(SemaphoreSetExists(set));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.Transact(), 0);
    EXPECT_LT(MillisecondsSince(start), 2000);
    EXPECT_EQ(client.GetPid(), 0);
    EXPECT_EQ(client.GetSemaphoreSet(), -1);
    EXPECT_TRUE(IsReaped(pid));
    EXPECT_FALSE(SemaphoreSetExists(set));
    EXPECT_EQ(client.Transact(), 0); // no client: nothing is tried
}

TEST(ClientProcess, AClientThatDoesNotAnswerIsStoppedAfterTheTimeout) {
    // sleep takes the semaphore set id as its number of seconds and never answers.
    ClientProcess::SetAnswerTimeout(300);
    ClientProcess client;
    pid_t pid = -1;
    for (int attempt = 0; attempt < 20 && client.GetSemaphoreSet() < 5; attempt++) {
        pid = client.Start("/bin/sleep", 0);
    }
    ASSERT_GE(client.GetSemaphoreSet(), 5);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.Transact(), 0);
    const long long waited = MillisecondsSince(start);
    EXPECT_GE(waited, 300);
    EXPECT_LT(waited, 3000);
    EXPECT_EQ(client.GetPid(), 0);
    EXPECT_TRUE(IsReaped(pid));
    ClientProcess::SetAnswerTimeout(ClientProcess::kDefaultAnswerTimeout);
}

TEST(ClientProcess, StopAndDestructionLeaveNoProcessAndNoSet) {
    pid_t pid;
    int set;
    {
        ClientProcess client;
        pid = client.Start("/bin/sleep", 0);
        ASSERT_GT(pid, 0);
        set = client.GetSemaphoreSet();
        const pid_t first = pid;
        // A new start stops the running client first.
        pid = client.Start("/bin/sleep", 0);
        EXPECT_TRUE(IsReaped(first));
        EXPECT_FALSE(SemaphoreSetExists(set));
        set = client.GetSemaphoreSet();
    }
    EXPECT_TRUE(IsReaped(pid));
    EXPECT_FALSE(SemaphoreSetExists(set));
}
