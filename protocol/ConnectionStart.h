#pragma once

#include <juce_core/juce_core.h>

class MainComponent;

/** Turns the operator's choice of a host into a running client (message thread). */
struct ConnectionStart
{
    /** Replaces any current connection with a new client for ipAddress: binds the receiving
        port 9211 and a sending socket aimed at the host's port 9212, chooses the announced
        local address, sends hello and connection request, starts the client's timer and the
        main component's status poll, and records the host. Never fails visibly. */
    static void run (MainComponent& main, const juce::String& ipAddress, const juce::String& hostName);
};
