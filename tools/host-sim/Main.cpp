// quentaro-host-sim: the far end of the wire for trying and testing the remote.
//
//   quentaro-host-sim [--listen-port N] [--remote ADDRESS] [--remote-port N]
//
// Every record received is printed on standard output as one JSON line; every JSON line read
// from standard input is sent to the remote. It runs until SIGINT or SIGTERM.

#include "HostSimulator.h"

#include <csignal>
#include <iostream>
#include <pthread.h>
#include <thread>

namespace
{
int intOption (const juce::StringArray& args, const juce::String& name, int fallback)
{
    auto index = args.indexOf (name);
    return index >= 0 && index + 1 < args.size() ? args[index + 1].getIntValue() : fallback;
}

juce::String textOption (const juce::StringArray& args, const juce::String& name)
{
    auto index = args.indexOf (name);
    return index >= 0 && index + 1 < args.size() ? args[index + 1] : juce::String();
}
} // namespace

int main (int argc, char* argv[])
{
    juce::StringArray args;

    for (int i = 1; i < argc; ++i)
        args.add (juce::String::fromUTF8 (argv[i]));

    if (args.contains ("--help"))
    {
        std::cout << "usage: quentaro-host-sim [--listen-port N] [--remote ADDRESS] [--remote-port N]\n";
        return 0;
    }

    // Signals are taken by sigwait on the main thread only.
    sigset_t signals;
    sigemptyset (&signals);
    sigaddset (&signals, SIGINT);
    sigaddset (&signals, SIGTERM);
    pthread_sigmask (SIG_BLOCK, &signals, nullptr);

    HostSimulator::Options options;
    options.listenPort = intOption (args, "--listen-port", options.listenPort);
    options.remotePort = intOption (args, "--remote-port", options.remotePort);
    options.fixedRemoteAddress = textOption (args, "--remote");

    HostSimulator simulator (options, [] (const juce::String& line) { std::cout << line.toStdString() << std::endl; });

    if (! simulator.start())
    {
        std::cerr << "quentaro-host-sim: cannot bind UDP port " << options.listenPort << std::endl;
        return 1;
    }

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

    std::cout.flush();
    // The input thread may sit in a blocking read; leave without unwinding it.
    std::_Exit (0);
}
