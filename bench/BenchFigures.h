#pragma once

#include <string>
#include <vector>

/**
    The figures a benchmark prints: the median and 99th percentile of a set of samples, each
    beside the reference measured in the same run as a ratio, and the goal with whether it was
    met. Figures only, never pass/fail. Plain functions.
*/
struct BenchFigures
{
    struct Summary
    {
        size_t count = 0;
        double median = 0.0;
        double p99 = 0.0;
        double mean = 0.0;
    };

    /** Nearest-rank median and 99th percentile (the page benchmark's rule), and the mean. */
    static Summary summarise (std::vector<double> samples);

    /** "name: n=.. median=.. p99=.. unit | reference: ... | ratio median .., p99 .. | goal: met". */
    static void printLine (const std::string& name, const Summary& figures, const std::string& unit,
        const std::string& referenceName, const Summary& reference, const std::string& goal, bool met);

    /** A single figure (no distribution) beside its reference and goal. */
    static void printValue (const std::string& name, double value, const std::string& unit,
        const std::string& referenceName, double reference, const std::string& goal, bool met);

    /** The number of a whole positive environment variable, or the fallback. */
    static int environmentCount (const char* name, int fallback);
};
