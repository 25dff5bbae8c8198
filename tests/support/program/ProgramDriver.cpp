#include "tests/support/program/ProgramDriver.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace e2e {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

bool Exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

int Slowness() {
    static const int factor = std::getenv("ASAN_OPTIONS") != nullptr ? 3 : 1;
    return factor;
}

void SleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SleepScaledMs(int ms) {
    SleepMs(ms * Slowness());
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        SleepMs(50);
    }
    return true;
}

std::string Command(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

int Xdo(const std::string& arguments) {
    return std::system(("xdotool " + arguments).c_str());
}

void TypeKeys(const std::string& window, const std::string& keys, int delayMs) {
    Command("xdotool windowfocus --sync " + window + " key --delay " + std::to_string(delayMs) +
            " " + keys + " 2>&1");
}

ScratchFolder::ScratchFolder(const char* pattern) {
    std::string name = pattern;
    if (mkdtemp(&name[0]) != nullptr) dir = name;
}

ScratchFolder::~ScratchFolder() {
    if (!dir.empty()) std::system(("rm -rf '" + dir + "'").c_str());
}

ProgramRun::~ProgramRun() {
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

bool ProgramRun::Start(const char* path, const std::vector<std::string>& argv,
                       const ProgramSetup& setup) {
    std::vector<std::string> args = argv;
    pid = fork();
    if (pid < 0) {
        perror("ProgramRun::Start: fork");
        pid = 0;
        return false;
    }
    if (pid != 0) return true;
    if (!setup.workingFolder.empty() && chdir(setup.workingFolder.c_str()) != 0) _exit(120);
    setenv("HOME", setup.home.c_str(), 1);
    for (const std::pair<std::string, std::string>& variable : setup.environment)
        setenv(variable.first.c_str(), variable.second.c_str(), 1);
    if (!setup.stderrPath.empty()) {
        const int fd = open(setup.stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || dup2(fd, STDERR_FILENO) < 0) _exit(121);
    }
    if (setup.addressLimit != 0) {
        const struct rlimit limit = {setup.addressLimit, setup.addressLimit};
        if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(122);
    }
    for (const std::pair<int, rlim_t>& bound : setup.limits) {
        const struct rlimit limit = {bound.second, bound.second};
        if (setrlimit(static_cast<__rlimit_resource_t>(bound.first), &limit) != 0) _exit(122);
    }
    std::vector<char*> pointers;
    for (std::string& a : args)
        pointers.push_back(&a[0]);
    pointers.push_back(nullptr);
    execv(path, pointers.data());
    _exit(123);
}

int ProgramRun::Wait(int timeoutMs) {
    int status = -1;
    const bool ended = WaitFor(
        [&] {
            const pid_t r = waitpid(pid, &status, WNOHANG);
            return r == pid;
        },
        timeoutMs);
    if (!ended) return -1;
    pid = 0;
    return status;
}

void ProgramRun::Stop(int graceMs) {
    if (pid <= 0) return;
    if (graceMs > 0 && kill(pid, SIGTERM) == 0 && Wait(graceMs) != -1) return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = 0;
}

bool ProgramRun::Running() {
    int status;
    return pid > 0 && waitpid(pid, &status, WNOHANG) == 0;
}

namespace {

// User and system time of the process in clock ticks; -1 when it is gone.
long long CpuTicks(pid_t pid) {
    const std::string stat = ReadAll("/proc/" + std::to_string(pid) + "/stat");
    const size_t name = stat.rfind(')'); // the command name may hold blanks and parentheses
    if (name == std::string::npos) return -1;
    std::istringstream fields(stat.substr(name + 1));
    std::string field;
    long long utime = 0, stime = 0;
    // After the name: state is field 3 of the line, utime 14 and stime 15.
    for (int i = 3; i < 14; i++)
        fields >> field;
    if (!(fields >> utime >> stime)) return -1;
    return utime + stime;
}

} // namespace

bool WaitIdle(pid_t pid, int quietMs, int timeoutMs) {
    const int stepMs = 50;
    long long last = CpuTicks(pid);
    int quiet = 0;
    for (int waited = 0; waited < timeoutMs && last >= 0; waited += stepMs) {
        SleepMs(stepMs);
        const long long now = CpuTicks(pid);
        quiet = now == last ? quiet + stepMs : 0;
        if (quiet >= quietMs) return true;
        last = now;
    }
    return false;
}

void LogMessages(ProgramSetup& setup, const std::string& logPath, const char* library) {
    setup.environment.push_back({"QUIRAN_MESSAGE_LOG", logPath});
    setup.environment.push_back({"LD_PRELOAD", library});
    const char* asan = getenv("ASAN_OPTIONS");
    const std::string options = asan != nullptr && *asan != '\0' ? std::string(asan) + ":" : "";
    setup.environment.push_back({"ASAN_OPTIONS", options + "verify_asan_link_order=0"});
}

ProgramSetup SetupIn(const ScratchFolder& folder, const std::string& stderrName) {
    ProgramSetup setup;
    setup.home = folder.Get();
    setup.workingFolder = folder.Get();
    setup.stderrPath = folder.Path(stderrName);
    return setup;
}

std::vector<std::string> ArgvOf(const char* path, const std::vector<std::string>& args) {
    std::vector<std::string> argv = {path};
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
}

} // namespace e2e
