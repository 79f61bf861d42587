#include "QUENTARORemoteApplication.h"

#include <csignal>
#include <sys/prctl.h>

namespace
{
juce::JUCEApplicationBase* createApplication()
{
    return new QUENTARORemoteApplication();
}
} // namespace

int main (int argc, char* argv[])
{
    // The web view runs in a child process that re-executes this program. Left alone, that
    // child keeps running (and spinning) when the program is killed; it goes with the program.
    if (argc >= 2 && juce::String (argv[1]) == "--juce-gtkwebkitfork-child")
        prctl (PR_SET_PDEATHSIG, SIGKILL);

    juce::JUCEApplicationBase::createInstance = &createApplication;
    return juce::JUCEApplicationBase::main (argc, (const char**) argv);
}
