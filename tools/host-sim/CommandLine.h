#pragma once

#include "HostSimulator.h"

/**
    The simulator's command line, taken apart into the simulator's options. Every flag is
    listed in helpText(). Plain parsing; reading a show file is its only side effect.
*/
struct CommandLine
{
    HostSimulator::Options options;
    bool showHelp = false;
    bool announce = true;
    juce::String serviceName; // the DNS-SD service name; empty: the host name
    juce::String error;       // not empty: the simulator cannot start, and this says why

    static CommandLine parse (const juce::StringArray& arguments);

    /** The usage text printed by --help: the flags and the control lines. */
    static juce::String helpText();
};
