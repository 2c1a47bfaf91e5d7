// Runs a command several times and prints its best wall time, the throughput over a given size,
// the CPU time (user + system, all threads and children) of that best run and the largest peak
// resident size of any run. The command's
// own output is dropped; a command that writes its result to stdout gets a shell redirection.
//   best_of RUNS BYTES LABEL COMMAND [ARGS...]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern char** environ;

namespace {

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s RUNS BYTES LABEL COMMAND [ARGS...]\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const double bytes = std::strtod(argv[2], nullptr);
    const char* label = argv[3];
    posix_spawn_file_actions_t quiet;
    ::posix_spawn_file_actions_init(&quiet);
    ::posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    double bestWall = 0;
    double bestCpu = 0;
    long peakKiB = 0;
    for (int r = 0; r < runs; ++r) {
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        if (::posix_spawnp(&pid, argv[4], &quiet, nullptr, argv + 4, environ) != 0) {
            std::perror(argv[4]);
            return 1;
        }
        int status = 0;
        rusage usage{};
        if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "%s: the command failed\n", label);
            return 1;
        }
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        peakKiB = std::max(peakKiB, usage.ru_maxrss);
        if (r == 0 || wall < bestWall) {
            bestWall = wall;
            bestCpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
        }
    }
    std::printf("%-44s %8.3f s %7.0f MB/s %8.3f s cpu %7.1f MiB rss\n", label, bestWall,
                bytes / bestWall / 1e6, bestCpu, static_cast<double>(peakKiB) / 1024);
    return 0;
}
