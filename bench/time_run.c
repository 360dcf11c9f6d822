/* The timer of the end-to-end benchmarks: runs a program once with standard input
 * from a file and standard output to a file (/dev/null when it is not looked at),
 * and prints its wall time in milliseconds, its peak memory in KiB and its page
 * faults (those served without a read, as fresh memory's are). No shell runs inside
 * the timed span. */
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    struct timespec start, end;
    struct rusage usage;
    int in, out, status;
    pid_t pid;

    if (argc < 4) {
        fprintf(stderr, "usage: time_run INPUT OUTPUT PROGRAM [ARGUMENT ...]\n");
        return 2;
    }
    in = open(argv[1], O_RDONLY);
    out = open(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0) {
        perror("time_run");
        return 2;
    }
    clock_gettime(CLOCK_MONOTONIC, &start);
    pid = fork();
    if (pid == 0) {
        dup2(in, 0);
        dup2(out, 1);
        execv(argv[3], argv + 3);
        _exit(127);
    }
    if (pid < 0 || wait4(pid, &status, 0, &usage) < 0) {
        perror("time_run");
        return 2;
    }
    clock_gettime(CLOCK_MONOTONIC, &end);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        fprintf(stderr, "time_run: %s did not end with status 0\n", argv[3]);
        return 1;
    }
    printf("%.3f %ld %ld\n",
           (double)(end.tv_sec - start.tv_sec) * 1e3 + (double)(end.tv_nsec - start.tv_nsec) / 1e6,
           usage.ru_maxrss, usage.ru_minflt);
    return 0;
}
