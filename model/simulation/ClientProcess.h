#pragma once

// One C++ element's client process as the host runs it: the child process started from the
// compiled executable and its private set of two semaphores, through which host and client hand
// the turn back and forth (semaphore 0 is the host's, 1 the client's). Owns both: stopping or
// destroying it ends the process, waits for it and removes the set, so no zombie and no set is
// left behind.
//
// The client leads a process group of its own, and every stop signals the whole group: whatever
// the user's code forked (and still holds the shared segment) ends with the client, also when
// the client itself has already ended.
//
// The host never hangs on a client: a client that ends is noticed within a fraction of a second
// (it is reaped and forgotten); one that does not answer within the answer timeout is stopped,
// except during a run, where the simulation box stays live and its Break stops the client.
// Either way the exchange fails and GetPid() is 0 afterwards.

#include <sys/types.h>

class SimulationBoxUi;

class ClientProcess {
public:
    // How long Transact waits for an answer before it gives the client up, in milliseconds.
    static constexpr int kDefaultAnswerTimeout = 10000;
    // How long Stop waits after SIGTERM before it sends SIGKILL, in milliseconds.
    static constexpr int kStopGrace = 2000;

    ClientProcess() = default;
    ClientProcess(const ClientProcess&) = delete;
    ClientProcess& operator=(const ClientProcess&) = delete;
    ~ClientProcess() { Stop(); }

    // Stops a running client, makes a new semaphore set (both semaphores 0) and starts the
    // executable with the arguments (executable, set id, segment id). The new pid, or -1 with a
    // perror when the set or the process could not be made. A program that cannot be executed
    // ends at once with status 1; the first exchange then notices it.
    int Start(const char* executable, int segmentId);
    // SIGTERM to the client's group, then waits for the client and the rest of its group
    // (SIGKILL to the group after kStopGrace); reaps the client and removes the set.
    void Stop();
    // One exchange: posts the client's semaphore, then waits for the host's. 1 when the client
    // answered, 0 when there is no client, a semaphore operation failed (perror "SVC()" or
    // "SPH()"), the client ended or did not answer in time. A breakable exchange during a run
    // waits without a time limit for as long as the break box does not answer Break.
    int Transact(int breakable = 0);

    // 0 (or less) while no client runs.
    pid_t GetPid() const { return pid; }
    // -1 while the process holds no set.
    int GetSemaphoreSet() const { return semaphoreSet; }

    static void SetAnswerTimeout(int milliseconds) { answerTimeout = milliseconds; }
    static int GetAnswerTimeout() { return answerTimeout; }
    // The box polled while a breakable exchange waits (set for the time of a run; null: none).
    static void SetBreakBox(SimulationBoxUi* box) { breakBox = box; }
    static SimulationBoxUi* GetBreakBox() { return breakBox; }
    // Called between the slices of every wait; the program serves a pending termination signal
    // there, so that no wait delays its end.
    static void SetWaitHook(void (*hook)()) { waitHook = hook; }

private:
    int AwaitAnswer(bool breakable);
    // True when the process has ended; it has then been reaped (pid is left to the caller).
    bool HasEnded();
    // Waits for the process to end and reaps it.
    void Reap();
    // The signal to every process of the client's group (to the client alone while it has not
    // joined it yet).
    void SignalGroup(int signal);
    // Waits up to the given time until the client has ended (it is reaped, pid 0) and no other
    // process of its group runs; true when both came.
    bool AwaitGroupEnd(int milliseconds);
    void RemoveSemaphoreSet();

    inline static int answerTimeout = kDefaultAnswerTimeout;
    inline static SimulationBoxUi* breakBox = nullptr;
    inline static void (*waitHook)() = nullptr;

    pid_t pid = 0;
    // The group the client leads: its pid from the start until the stop, also after the client
    // was reaped (the id stays valid while a process of the group lives). 0 for none.
    pid_t group = 0;
    int semaphoreSet = -1; // 0 is a valid id
};
