#pragma once

#include <juce_events/juce_events.h>

#include <chrono>
#include <functional>

/** Runs the message loop until a condition holds or a deadline passes (message thread). */
struct MessageLoop
{
    static bool runUntil (const std::function<bool()>& condition,
        std::chrono::milliseconds deadline = std::chrono::seconds (5))
    {
        const auto end = std::chrono::steady_clock::now() + deadline;

        while (! condition())
        {
            if (std::chrono::steady_clock::now() >= end)
                return condition();

            juce::MessageManager::getInstance()->runDispatchLoopUntil (2);
        }

        return true;
    }

    /** Runs the loop for the given time, delivering everything that becomes due. Used only
        to show that something does NOT happen within a period the behaviour defines. */
    static void runFor (std::chrono::milliseconds period)
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil ((int) period.count());
    }
};
