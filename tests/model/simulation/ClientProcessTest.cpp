#include "model/simulation/ClientProcess.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/sem.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/program/ProgramDriver.h"

namespace {

// Neither zombie nor running: the process has been reaped.
bool IsReaped(pid_t pid) {
    return kill(pid, 0) == -1 && errno == ESRCH;
}

bool SemaphoreSetExists(int set) {
    return semctl(set, 0, GETVAL) != -1;
}

// Neither running nor waiting: gone, or a zombie that nobody has reaped yet.
bool IsGone(pid_t pid) {
    const std::string stat = e2e::ReadAll("/proc/" + std::to_string(pid) + "/stat");
    const size_t close = stat.rfind(')');
    return stat.empty() || (close != std::string::npos && stat.compare(close + 2, 1, "Z") == 0);
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

namespace {

// Client programs whose code forks: each leaves members of its group, whose pids it writes into
// "<program>.members", one a line. How the client meets its end differs.
const char kSleeps[] = "sleep 60 &\necho $! >> \"$0.members\"\nexec sleep 60\n";
// Leader and member ignore SIGTERM (an ignored signal stays ignored through exec).
const char kDeaf[] = "trap '' TERM\nsleep 60 &\necho $! >> \"$0.members\"\nexec sleep 60\n";
// The leader ends at once; its member stays.
const char kLeaves[] = "sleep 60 &\necho $! >> \"$0.members\"\n";
// A member that takes a while to end on SIGTERM and then says so in "<program>.ended".
const char kTakesItsTime[] = "(\n"
                             "    trap 'sleep 0.2; echo > \"$0.ended\"; exit 0' TERM\n"
                             "    sleep 60 &\n"
                             "    echo $! >> \"$0.members\"\n"
                             "    wait\n"
                             ") &\n"
                             "echo $! >> \"$0.members\"\n"
                             "exec sleep 60\n";

enum class End { kStop, kDestruction, kExchange };

struct GroupCase {
    const char* name;
    const char* script;
    size_t members;
    End end;
    bool memberEndsItself; // within the grace, before any SIGKILL
};

const GroupCase kGroupCases[] = {
    {"a stop", kSleeps, 1, End::kStop, false},
    {"SIGKILL after the grace", kDeaf, 1, End::kDestruction, false},
    {"a leader that ended by itself", kLeaves, 1, End::kExchange, false},
    {"a leader that does not answer", kSleeps, 1, End::kExchange, false},
    {"members have the grace too", kTakesItsTime, 2, End::kStop, true},
};

// The members a client program has written down so far.
std::vector<pid_t> Members(const std::string& list) {
    std::vector<pid_t> members;
    std::istringstream lines(e2e::ReadAll(list));
    long pid;
    while (lines >> pid)
        members.push_back(static_cast<pid_t>(pid));
    return members;
}

// Kills the members that the test did not end: by their pids, and only while they still run a
// sleep or the client program of folder.
struct MemberGuard {
    ~MemberGuard() {
        for (pid_t pid : pids) {
            const std::string command = e2e::ReadAll("/proc/" + std::to_string(pid) + "/cmdline");
            if (command.rfind("sleep", 0) == 0 || command.find(folder) != std::string::npos) {
                kill(pid, SIGKILL);
            }
        }
    }
    std::string folder;
    std::vector<pid_t> pids;
};

} // namespace

TEST(ClientProcess, EveryStopEndsWhatTheClientForked) {
    e2e::ScratchFolder folder("/tmp/quiran-client-group-XXXXXX");
    ASSERT_FALSE(folder.Get().empty());
    ClientProcess::SetAnswerTimeout(300);
    for (const GroupCase& c : kGroupCases) {
        SCOPED_TRACE(c.name);
        const std::string program = folder.Path("client");
        const std::string list = program + ".members";
        unlink(list.c_str());
        unlink((program + ".ended").c_str());
        e2e::WriteText(program, std::string("#!/bin/sh\n") + c.script);
        ASSERT_EQ(chmod(program.c_str(), 0700), 0);

        auto client = std::make_unique<ClientProcess>();
        const pid_t leader = client->Start(program.c_str(), 0);
        ASSERT_GT(leader, 0);
        const int set = client->GetSemaphoreSet();
        MemberGuard guard{folder.Get(), {}};
        ASSERT_TRUE(e2e::WaitFor([&] {
            guard.pids = Members(list);
            return guard.pids.size() == c.members;
        }));
        switch (c.end) {
            case End::kStop:
                client->Stop();
                break;
            case End::kDestruction:
                client.reset();
                break;
            case End::kExchange:
                EXPECT_EQ(client->Transact(), 0);
                break;
        }
        if (client != nullptr) {
            EXPECT_EQ(client->GetPid(), 0);
        }
        EXPECT_TRUE(IsReaped(leader));
        EXPECT_FALSE(SemaphoreSetExists(set));
        for (pid_t member : guard.pids) {
            EXPECT_TRUE(e2e::WaitFor([&] { return IsGone(member); })) << member;
        }
        EXPECT_EQ(e2e::Exists(program + ".ended"), c.memberEndsItself);
    }
    ClientProcess::SetAnswerTimeout(ClientProcess::kDefaultAnswerTimeout);
}
