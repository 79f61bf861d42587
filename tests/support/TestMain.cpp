// One main for every test executable: the message loop is created once, before any test.

#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

#include <csignal>
#include <sys/prctl.h>

#if QUENTARO_TEST_NEEDS_WEB_VIEW
extern "C" int juce_gtkWebkitMain (int argc, const char* const* argv);
#endif

namespace
{
juce::JUCEApplicationBase* noApplication()
{
    return nullptr;
}
} // namespace

int main (int argc, char** argv)
{
#if QUENTARO_TEST_NEEDS_WEB_VIEW
    // The web view runs in a child process that re-executes this program.
    // Like the program's, it dies with the test: a test that times out must not leave it
    // running its page on its own.
    if (argc >= 2 && juce::String (argv[1]) == "--juce-gtkwebkitfork-child")
    {
        prctl (PR_SET_PDEATHSIG, SIGKILL);
        return juce_gtkWebkitMain (argc, argv);
    }
#endif

    // Makes the framework treat this executable as a standalone program: it then sets up X
    // for several threads with its own error handlers, as in the real program, and starts a
    // web view's child by exec rather than by a bare fork of a threaded process.
    juce::JUCEApplicationBase::createInstance = &noApplication;

    testing::InitGoogleTest (&argc, argv);
    juce::ScopedJuceInitialiser_GUI messageLoop;
    return RUN_ALL_TESTS();
}
