// quentaro-fuzz-seeds FOLDER: writes a starting corpus for each fuzzing harness into
// FOLDER/<harness> (scripts/fuzz.sh gives it the fuzz build's folder).

#include "SeedCorpus.h"

#include <iostream>

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: quentaro-fuzz-seeds FOLDER" << std::endl;
        return 2;
    }

    const auto folder = juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]);

    if (! SeedCorpus::writeAll (folder))
    {
        std::cerr << "cannot write the seeds into " << folder.getFullPathName() << std::endl;
        return 1;
    }

    return 0;
}
