#include "ProcessUsage.h"

#include <algorithm>
#include <dirent.h>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>

namespace
{
std::vector<pid_t> numberedEntries (const std::string& folder)
{
    std::vector<pid_t> ids;

    if (auto* dir = opendir (folder.c_str()))
    {
        while (auto* entry = readdir (dir))
            if (entry->d_name[0] >= '0' && entry->d_name[0] <= '9')
                ids.push_back ((pid_t) std::stol (entry->d_name));

        closedir (dir);
    }

    return ids;
}

/** The fields of /proc/<pid>/stat after the command name (which may hold spaces). */
std::vector<std::string> statFields (pid_t pid)
{
    std::ifstream file ("/proc/" + std::to_string (pid) + "/stat");
    std::string text ((std::istreambuf_iterator<char> (file)), std::istreambuf_iterator<char>());
    std::vector<std::string> fields;
    const auto close = text.rfind (')');

    if (close == std::string::npos)
        return fields;

    std::istringstream rest (text.substr (close + 2));

    for (std::string field; rest >> field;)
        fields.push_back (field);

    return fields; // [0] state, [1] ppid, ..., [11] utime, [12] stime
}

double kilobytes (pid_t pid, const std::string& fileName, const std::string& key)
{
    std::ifstream file ("/proc/" + std::to_string (pid) + "/" + fileName);

    for (std::string line; std::getline (file, line);)
        if (line.rfind (key + ":", 0) == 0)
            return std::stod (line.substr (key.size() + 1));

    return 0.0;
}
} // namespace

std::vector<pid_t> ProcessUsage::descendants (pid_t root)
{
    std::multimap<pid_t, pid_t> children;

    for (auto pid : numberedEntries ("/proc"))
    {
        auto fields = statFields (pid);

        if (fields.size() > 1)
            children.emplace ((pid_t) std::stol (fields[1]), pid);
    }

    std::vector<pid_t> found;
    std::vector<pid_t> open { root };

    while (! open.empty())
    {
        const auto parent = open.back();
        open.pop_back();

        for (auto [it, end] = children.equal_range (parent); it != end; ++it)
        {
            found.push_back (it->second);
            open.push_back (it->second);
        }
    }

    return found;
}

std::vector<pid_t> ProcessUsage::withDescendants (pid_t root)
{
    auto all = descendants (root);
    all.insert (all.begin(), root);
    return all;
}

ProcessUsage::Totals ProcessUsage::totals (const std::vector<pid_t>& processes, bool withPss)
{
    Totals t;
    const auto ticks = (double) sysconf (_SC_CLK_TCK);

    for (auto pid : processes)
    {
        auto fields = statFields (pid);

        if (fields.size() < 13)
            continue;

        ++t.processes;
        t.cpuSeconds += (std::stod (fields[11]) + std::stod (fields[12])) / ticks;
        t.rssMB += kilobytes (pid, "status", "VmRSS") / 1024.0;
        t.peakMB += kilobytes (pid, "status", "VmHWM") / 1024.0;

        if (withPss)
            t.pssMB += kilobytes (pid, "smaps_rollup", "Pss") / 1024.0;
    }

    return t;
}

double ProcessUsage::cpuNanoseconds (const std::vector<pid_t>& processes, const std::vector<pid_t>& skippedThreads)
{
    double total = 0.0;

    for (auto pid : processes)
    {
        const auto folder = "/proc/" + std::to_string (pid) + "/task";

        for (auto tid : numberedEntries (folder))
        {
            if (std::find (skippedThreads.begin(), skippedThreads.end(), tid) != skippedThreads.end())
                continue;

            std::ifstream file (folder + "/" + std::to_string (tid) + "/schedstat");
            double onCpu = 0.0;

            if (file >> onCpu)
                total += onCpu;
        }
    }

    return total;
}

std::vector<ProcessUsage::Named> ProcessUsage::perProcess (const std::vector<pid_t>& processes)
{
    std::vector<Named> list;
    const auto ticks = (double) sysconf (_SC_CLK_TCK);

    for (auto pid : processes)
    {
        auto fields = statFields (pid);
        std::ifstream comm ("/proc/" + std::to_string (pid) + "/comm");
        Named named;
        named.pid = pid;
        std::getline (comm, named.name);

        if (fields.size() >= 13)
            named.cpuSeconds = (std::stod (fields[11]) + std::stod (fields[12])) / ticks;

        list.push_back (named);
    }

    return list;
}
