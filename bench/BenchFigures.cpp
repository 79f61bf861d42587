#include "BenchFigures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <numeric>

namespace
{
std::string number (double value)
{
    char text[32];
    std::snprintf (text, sizeof (text), value >= 100.0 ? "%.0f" : value >= 10.0 ? "%.1f" : "%.3f", value);
    return text;
}

std::string ratio (double value, double reference)
{
    return reference > 0.0 ? number (value / reference) + "x" : std::string ("-");
}
} // namespace

BenchFigures::Summary BenchFigures::summarise (std::vector<double> samples)
{
    Summary s;
    s.count = samples.size();

    if (samples.empty())
        return s;

    std::sort (samples.begin(), samples.end());
    const auto rank = [&] (double fraction)
    {
        const auto index = (long) std::ceil (fraction * (double) samples.size()) - 1;
        return samples[(size_t) std::clamp (index, 0L, (long) samples.size() - 1)];
    };

    s.median = rank (0.5);
    s.p99 = rank (0.99);
    s.mean = std::accumulate (samples.begin(), samples.end(), 0.0) / (double) samples.size();
    return s;
}

void BenchFigures::printLine (const std::string& name, const Summary& figures, const std::string& unit,
    const std::string& referenceName, const Summary& reference, const std::string& goal, bool met)
{
    std::cout << "  " << name << ": n=" << figures.count << " median=" << number (figures.median)
              << " p99=" << number (figures.p99) << " " << unit << " | " << referenceName
              << ": median=" << number (reference.median) << " p99=" << number (reference.p99) << " " << unit
              << " | ratio median " << ratio (figures.median, reference.median) << " p99 "
              << ratio (figures.p99, reference.p99) << " | goal " << goal << ": "
              << (figures.count == 0 ? "not measured"
                         : met       ? "met"
                                     : "MISSED")
              << std::endl;
}

void BenchFigures::printValue (const std::string& name, double value, const std::string& unit,
    const std::string& referenceName, double reference, const std::string& goal, bool met)
{
    std::cout << "  " << name << ": " << number (value) << " " << unit << " | " << referenceName << ": "
              << number (reference) << " " << unit << " | ratio " << ratio (value, reference) << " | goal " << goal
              << ": " << (met ? "met" : "MISSED") << std::endl;
}

int BenchFigures::environmentCount (const char* name, int fallback)
{
    const auto* text = std::getenv (name);
    const auto value = text != nullptr ? std::atoi (text) : 0;
    return value > 0 ? value : fallback;
}
