// stopwatch RUNS COMMAND [ARGUMENTS...]
//
// Runs the command RUNS times, one after the other, with standard input at
// end of file and standard output thrown away (standard error is kept), and
// prints the median wall time in milliseconds. Times come from the monotonic
// clock, so a change of the system time cannot distort them. If any run
// fails, it says so on standard error and exits 1.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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
static double time_one_run(char **command)
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
        execv(command[0], command);
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

int main(int argc, char **argv)
{
    int runs = argc >= 3 ? atoi(argv[1]) : 0;
    if (runs < 1) {
        fprintf(stderr, "usage: stopwatch RUNS COMMAND [ARGUMENTS...]\n");
        return 2;
    }
    std::vector<double> times;
    for (int i = 0; i < runs; i++) {
        double t = time_one_run(argv + 2);
        if (t < 0)
            return 1;
        times.push_back(t);
    }
    // The median: the middle run, or the mean of the two middle runs.
    std::sort(times.begin(), times.end());
    double median = runs % 2 ? times[runs / 2] : (times[runs / 2 - 1] + times[runs / 2]) / 2;
    printf("%.1f\n", median);
    return 0;
}
