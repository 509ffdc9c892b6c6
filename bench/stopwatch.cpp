// stopwatch RUNS COMMAND [ARGUMENTS...] [-- COMMAND [ARGUMENTS...]]...
//
// Runs each command RUNS times, taking the commands in turn (the first, the
// second, ..., then the first again), so that a change of load on the machine
// falls on all of them alike. Standard input is at end of file and standard
// output thrown away (standard error is kept). Prints the median wall time
// of each command in milliseconds, on one line, in the order given. Times
// come from the monotonic clock, so a change of the system time cannot
// distort them. If any run fails, it says so on standard error and exits 1.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

static double now_ms()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// One run; returns its wall time, or a negative value if it did not end
// with status 0.
static double time_one_run(const std::vector<char *> &command)
{
    double start = now_ms();
    pid_t pid = fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        int null = open("/dev/null", O_RDWR);
        if (null < 0)
            _exit(126);
        dup2(null, 0);
        dup2(null, 1);
        close(null);
        execv(command[0], command.data());
        fprintf(stderr, "stopwatch: cannot run %s: %s\n", command[0], strerror(errno));
        _exit(127);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return -1;
    double elapsed = now_ms() - start;
    if (WIFSIGNALED(status)) {
        fprintf(stderr, "stopwatch: %s killed by signal %d\n", command[0], WTERMSIG(status));
        return -1;
    }
    if (WEXITSTATUS(status) != 0) {
        fprintf(stderr, "stopwatch: %s exited with status %d\n", command[0], WEXITSTATUS(status));
        return -1;
    }
    return elapsed;
}

// The middle run, or the mean of the two middle runs.
static double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    size_t n = times.size();
    return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

int main(int argc, char **argv)
{
    int runs = argc >= 3 ? atoi(argv[1]) : 0;
    if (runs < 1) {
        fprintf(stderr, "usage: stopwatch RUNS COMMAND [ARGUMENTS...] [-- COMMAND [ARGUMENTS...]]...\n");
        return 2;
    }
    std::vector<std::vector<char *>> commands(1);
    for (int i = 2; i < argc; i++) {
        if (strcmp(argv[i], "--") == 0)
            commands.emplace_back();
        else
            commands.back().push_back(argv[i]);
    }
    for (std::vector<char *> &command : commands) {
        if (command.empty()) {
            fprintf(stderr, "stopwatch: an empty command\n");
            return 2;
        }
        command.push_back(nullptr);
    }
    std::vector<std::vector<double>> times(commands.size());
    for (int run = 0; run < runs; run++)
        for (size_t c = 0; c < commands.size(); c++) {
            double t = time_one_run(commands[c]);
            if (t < 0)
                return 1;
            times[c].push_back(t);
        }
    for (size_t c = 0; c < commands.size(); c++)
        printf("%s%.1f", c ? " " : "", median(times[c]));
    printf("\n");
    return 0;
}
