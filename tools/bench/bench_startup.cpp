// Start-up of qrx-setup to the launcher shown (offscreen platform) against a minimal Qt Widgets
// program that opens one 600 x 450 window, side by side in one run; the resident memory of the
// running wizard (launcher and wizard window created); and the wake-ups of an idle qrx-setup.
//
// Both programs are started as child processes with QRX_BENCH_EXIT_ON_SHOWN set: each prints
// "SHOWN" once its window has been painted, then its VmRSS line (qrx-setup once the wizard window
// stands behind the launcher), and leaves. The start-up time runs from the spawn to the "SHOWN"
// line. The children run in a network namespace of their own with only loopback (when permitted),
// so qrx-setup neither meets another copy of itself nor any network.
#include "private_loopback.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct CRun
{
    bool ok = false;
    double seconds = 0;
    double rssMb = 0;
};

// Starts exe, reads its standard output to the end, waits for it; the time is from the spawn to
// the "SHOWN" line.
CRun RunToShown(const char* exe, const char* arg = nullptr)
{
    CRun run;
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = { const_cast<char*>(exe), const_cast<char*>(arg), nullptr };
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, exe, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (rc != 0) {
        ::close(out[0]);
        return run;
    }
    std::string text;
    char buf[512];
    ssize_t n;
    bool shown = false;
    while ((n = ::read(out[0], buf, sizeof buf)) > 0) {
        text.append(buf, std::size_t(n));
        if (!shown && text.find("SHOWN\n") != std::string::npos) {
            shown = true;
            run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
    }
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    const std::size_t at = text.find("VmRSS:");
    if (shown && at != std::string::npos && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        run.rssMb = std::strtod(text.c_str() + at + 6, nullptr) / 1024.0;
        run.ok = true;
    }
    return run;
}

double Median(std::vector<double> v)
{
    if (v.empty()) {
        return 0;
    }
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The three programs in turn, round after round, so that a change in the machine's load meets all
// of them alike; the figures are the medians of the rounds (a run slowed by something else on the
// machine moves a median little).
void BM_StartupSideBySide(benchmark::State& state)
{
    setenv("QRX_BENCH_EXIT_ON_SHOWN", "1", 1);
    RunToShown(QRX_MINIMAL_EXE); // warm the file cache
    RunToShown(QRX_MINIMAL_EXE, "--text");
    RunToShown(QRX_SETUP_EXE);
    std::vector<double> minimal, text, qrx;
    double rss = 0;
    for (auto _ : state) {
        const CRun a = RunToShown(QRX_MINIMAL_EXE);
        const CRun b = RunToShown(QRX_MINIMAL_EXE, "--text");
        const CRun c = RunToShown(QRX_SETUP_EXE);
        if (!a.ok || !b.ok || !c.ok) {
            state.SkipWithError("a program did not report its window shown");
            break;
        }
        minimal.push_back(a.seconds * 1e3);
        text.push_back(b.seconds * 1e3);
        qrx.push_back(c.seconds * 1e3);
        rss = std::max(rss, c.rssMb);
        state.SetIterationTime(a.seconds + b.seconds + c.seconds);
    }
    const double m = Median(minimal), t = Median(text), q = Median(qrx);
    state.counters["minimal_ms"] = m;
    state.counters["minimal_text_ms"] = t;
    state.counters["qrx_setup_ms"] = q;
    state.counters["startup_ratio"] = m > 0 ? q / m : 0;
    state.counters["startup_ratio_vs_text"] = t > 0 ? q / t : 0;
    state.counters["rss_mb"] = rss;
}

// Context switches of every thread of the process (each one a wake-up), and its CPU time in
// clock ticks.
bool ReadActivity(pid_t pid, long long& switches, long long& ticks)
{
    switches = 0;
    ticks = 0;
    const std::string base = "/proc/" + std::to_string(pid);
    DIR* dir = ::opendir((base + "/task").c_str());
    if (!dir) {
        return false;
    }
    while (const dirent* e = ::readdir(dir)) {
        if (e->d_name[0] == '.') {
            continue;
        }
        FILE* f = std::fopen((base + "/task/" + e->d_name + "/status").c_str(), "r");
        if (!f) {
            continue;
        }
        char line[256];
        while (std::fgets(line, sizeof line, f)) {
            long long v = 0;
            if (std::sscanf(line, "voluntary_ctxt_switches: %lld", &v) == 1
                || std::sscanf(line, "nonvoluntary_ctxt_switches: %lld", &v) == 1) {
                switches += v;
            }
        }
        std::fclose(f);
    }
    ::closedir(dir);
    FILE* f = std::fopen((base + "/stat").c_str(), "r");
    if (!f) {
        return false;
    }
    char stat[1024] = {};
    const bool read = std::fgets(stat, sizeof stat, f) != nullptr;
    std::fclose(f);
    const char* p = read ? std::strrchr(stat, ')') : nullptr;
    if (!p) {
        return false;
    }
    // Fields after the command: state is field 3; utime and stime are fields 14 and 15.
    long long utime = 0, stime = 0;
    if (std::sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lld %lld", &utime, &stime) != 2) {
        return false;
    }
    ticks = utime + stime;
    return true;
}

// qrx-setup left alone on its launcher: every wake-up of any of its threads over the window counts.
void BM_IdleWakeups(benchmark::State& state)
{
    unsetenv("QRX_BENCH_EXIT_ON_SHOWN");
    const double settle = 3.0;
    const double window = 5.0;
    double wakeups = 0;
    double cpuMs = 0;
    for (auto _ : state) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        char* argv[] = { const_cast<char*>(QRX_SETUP_EXE), nullptr };
        pid_t pid = 0;
        const int rc = posix_spawn(&pid, QRX_SETUP_EXE, &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) {
            state.SkipWithError("qrx-setup did not start");
            break;
        }
        std::this_thread::sleep_for(std::chrono::duration<double>(settle));
        long long s0 = 0, t0 = 0, s1 = 0, t1 = 0;
        const bool first = ReadActivity(pid, s0, t0);
        std::this_thread::sleep_for(std::chrono::duration<double>(window));
        const bool second = ReadActivity(pid, s1, t1);
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (!first || !second) {
            state.SkipWithError("qrx-setup ended before the measurement");
            break;
        }
        wakeups = double(s1 - s0) / window;
        cpuMs = double(t1 - t0) * 1000.0 / double(::sysconf(_SC_CLK_TCK)) / window;
        state.SetIterationTime(window);
    }
    state.counters["idle_wakeups_per_s"] = wakeups;
    state.counters["idle_cpu_ms_per_s"] = cpuMs;
}

BENCHMARK(BM_StartupSideBySide)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleWakeups)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QRX_ADAPTERS", "lo", 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    PrivateLoopback();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
