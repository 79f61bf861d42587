// quentaro-host-sim: a stand-in for the QUENTARO host, for rehearsing with the remote and for
// its end-to-end tests. See CommandLine::helpText() (--help) for the flags and the control
// lines read from standard input.

#include "CommandLine.h"
#include "ServiceAnnouncer.h"

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <pthread.h>
#include <thread>

int main (int argc, char* argv[])
{
    // Avahi's DNS-SD library otherwise warns on standard error that it is a compatibility layer.
    setenv ("AVAHI_COMPAT_NOWARN", "1", 1);

    juce::StringArray args;

    for (int i = 1; i < argc; ++i)
        args.add (juce::String::fromUTF8 (argv[i]));

    auto commandLine = CommandLine::parse (args);

    if (commandLine.showHelp)
    {
        std::cout << CommandLine::helpText();
        return 0;
    }

    if (commandLine.error.isNotEmpty())
    {
        std::cerr << "quentaro-host-sim: " << commandLine.error << " (see --help)" << std::endl;
        return 2;
    }

    // Signals are taken by sigwait on the main thread only; every thread started from here on
    // inherits the blocked mask.
    sigset_t signals;
    sigemptyset (&signals);
    sigaddset (&signals, SIGINT);
    sigaddset (&signals, SIGTERM);
    pthread_sigmask (SIG_BLOCK, &signals, nullptr);

    auto& options = commandLine.options;
    auto listenPort = options.listenPort;
    auto serviceName = commandLine.serviceName.isNotEmpty() ? commandLine.serviceName : options.hostName;

    // The simulator's lines and the announcer's come from different threads; each is written whole.
    std::mutex outputLock;
    auto printLine = [&outputLock] (const juce::String& line)
    {
        const std::lock_guard<std::mutex> guard (outputLock);
        std::cout << line.toStdString() << std::endl;
    };

    HostSimulator simulator (std::move (options), printLine);

    if (! simulator.start())
    {
        std::cerr << "quentaro-host-sim: cannot open UDP port " << listenPort << " (taken?) or the remote's address"
                  << std::endl;
        return 1;
    }

    ServiceAnnouncer announcer (printLine);

    if (commandLine.announce)
        announcer.announce (serviceName, listenPort);

    std::thread input (
        [&simulator]
        {
            std::string line;

            while (std::getline (std::cin, line))
                simulator.handleCommandLine (juce::String::fromUTF8 (line.c_str()));
        });
    input.detach();

    int received = 0;
    sigwait (&signals, &received);

    simulator.sayGoodbye();
    announcer.withdraw();

    std::cout.flush();
    // The input thread may sit in a blocking read; leave without unwinding it.
    std::_Exit (0);
}
