#pragma once

#include <juce_events/juce_events.h>

#include <chrono>
#include <functional>

namespace juce::detail
{
// The framework's own blocking wait for the next event (the body of runDispatchLoop), which
// unlike runDispatchLoopUntil neither polls nor sleeps 1 ms between events, and unlike
// runDispatchLoop can be left and entered again.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce::detail

/**
    The program's own message loop for benchmarks: it blocks until an event arrives, as the
    program does, so the figures carry no polling delay and the program's idle CPU is its own.
    A condition is checked after each event; something that changes it from another thread
    posts wake(). Message thread only (wake from any thread).
*/
struct BenchLoop
{
    /** Dispatches events until the condition holds or the deadline passes; returns the condition. */
    static bool runUntil (const std::function<bool()>& condition,
        std::chrono::milliseconds deadline = std::chrono::seconds (10))
    {
        bool late = false;
        const auto token = std::make_shared<bool> (true);
        juce::Timer::callAfterDelay ((int) deadline.count(),
            [&late, weak = std::weak_ptr<bool> (token)]
            {
                if (weak.lock() != nullptr)
                    late = true;
            });

        while (! condition() && ! late)
            juce::detail::dispatchNextMessageOnSystemQueue (false);

        return condition();
    }

    /** Dispatches every event for the given time. */
    static void runFor (std::chrono::milliseconds period)
    {
        runUntil ([] { return false; }, period);
    }

    /** Makes the loop check its condition again (any thread). */
    static void wake()
    {
        juce::MessageManager::callAsync ([] {});
    }
};
