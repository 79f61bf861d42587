// The program's own figures, printed (never pass/fail), each beside a reference measured in the
// same run: the command path, a host update reaching the screen, the page's refresh cost in the
// real web view, the idle cost, start-up and discovery. One measurement per run:
//
//   quentaro-bench-program command|screen|refresh|idle|startup|discovery
//
// Run by scripts/run-bench.sh inside a private network namespace with its own X display (the
// discovery inside scripts/with-avahi.sh), since it binds the real ports and opens windows.

#include "CommandPathBench.h"
#include "DiscoveryBench.h"
#include "IdleBench.h"
#include "RefreshBench.h"
#include "ScreenUpdateBench.h"
#include "StartupBench.h"

#include <juce_events/juce_events.h>

#include <iostream>
#include <sys/prctl.h>

extern "C" int juce_gtkWebkitMain (int argc, const char* const* argv);

namespace
{
juce::JUCEApplicationBase* noApplication()
{
    return nullptr;
}
} // namespace

int main (int argc, char* argv[])
{
    const juce::String mode = argc >= 2 ? argv[1] : "";

    // The web view's child process re-executes this program; it goes when the program goes.
    if (mode == "--juce-gtkwebkitfork-child")
    {
        prctl (PR_SET_PDEATHSIG, SIGKILL);
        return juce_gtkWebkitMain (argc, argv);
    }

    if (mode == "--bare-window")
        return StartupBench::runBareWindow();

    // A standalone program to the framework: it then starts the web view's child by exec.
    juce::JUCEApplicationBase::createInstance = &noApplication;
    const auto self = juce::File::getSpecialLocation (juce::File::currentExecutableFile).getFullPathName();

    if (mode == "startup")
    {
        StartupBench::run (QUENTARO_PROGRAM_PATH, self);
        return 0;
    }

    juce::ScopedJuceInitialiser_GUI messageLoop;

    if (mode == "--bare-web-view")
        return IdleBench::runBareWebView();

    if (mode == "command")
        CommandPathBench::run();
    else if (mode == "screen")
        ScreenUpdateBench::run();
    else if (mode == "refresh")
        RefreshBench::run();
    else if (mode == "idle")
        IdleBench::run (QUENTARO_HOST_SIM_PATH, self);
    else if (mode == "discovery")
        DiscoveryBench::run (QUENTARO_HOST_SIM_PATH);
    else
    {
        std::cerr << "usage: quentaro-bench-program command|screen|refresh|idle|startup|discovery" << std::endl;
        return 2;
    }

    return 0;
}
