#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

/**
    CPU time and memory of a process and everything it started (the web view's child and the
    web engine's own processes below it), read from /proc. Any thread.
*/
struct ProcessUsage
{
    struct Totals
    {
        int processes = 0;
        double cpuSeconds = 0.0; // utime + stime of /proc/<pid>/stat, summed
        double rssMB = 0.0;      // VmRSS, summed
        double peakMB = 0.0;     // VmHWM (each process's own peak), summed
        double pssMB = 0.0;      // Pss of /proc/<pid>/smaps_rollup: shared pages counted once
    };

    /** One line per process: its name and CPU seconds. */
    struct Named
    {
        pid_t pid = 0;
        std::string name;
        double cpuSeconds = 0.0;
    };

    static std::vector<Named> perProcess (const std::vector<pid_t>& processes);

    /** The process and all its descendants, found through the parent ids in /proc. */
    static std::vector<pid_t> withDescendants (pid_t root);

    /** Only the descendants of a process. */
    static std::vector<pid_t> descendants (pid_t root);

    /** Pss costs the kernel a walk of every mapping (milliseconds a process): asked for only
        when wanted, so frequent samples do not load the process they measure. */
    static Totals totals (const std::vector<pid_t>& processes, bool withPss = false);

    /** CPU time in nanoseconds of every thread of the processes (/proc/<pid>/task/<tid>/schedstat):
        finer than the clock ticks of /proc/<pid>/stat, for short windows. The skipped threads (a
        benchmark's own samplers) are left out. */
    static double cpuNanoseconds (const std::vector<pid_t>& processes, const std::vector<pid_t>& skippedThreads = {});
};
