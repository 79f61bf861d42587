#pragma once

// The real client against the host simulator over UDP, inside the test namespace.

#include "app/MainComponent.h"
#include "protocol/ConnectionStart.h"
#include "tools/host-sim/RecordJson.h"

#include "support/MessageLoop.h"
#include "support/Subprocess.h"
#include "support/TestNetwork.h"

#include <gtest/gtest.h>

class ClientSimulator : public testing::Test
{
protected:
    /** Starts (or replaces) the simulator; the old one, if any, must have ended. */
    void launchSimulator (juce::StringArray simulatorOptions)
    {
        simulatorOptions.insert (0, QUENTARO_HOST_SIM_PATH);
        simulator = std::make_unique<Subprocess> (simulatorOptions);
        ASSERT_TRUE (simulator->waitForLineContaining ("\"listening\"", std::chrono::seconds (10)));
    }

    void start (juce::StringArray simulatorOptions)
    {
        launchSimulator (std::move (simulatorOptions));

        main.show.getBridge().setEvaluator ([this] (const juce::String& s) { statements.add (s); });
        ConnectionStart::run (main, "127.0.0.1", "Sim");
        ASSERT_NE (main.getClient(), nullptr);

        // Real time, shifted on demand, so that long silences need no long waits.
        main.getClient()->clock = [this] { return (juce::int32) std::time (nullptr) + clockOffset; };
    }

    void TearDown() override
    {
        main.disconnectRemote();

        if (simulator != nullptr)
            simulator->terminate (SIGTERM);
    }

    bool waitFor (const std::function<bool()>& condition, std::chrono::milliseconds deadline = std::chrono::seconds (5))
    {
        return MessageLoop::runUntil (condition, deadline);
    }

    bool statusIs (const juce::String& text) { return main.statusLabel.getText() == "Status : " + text; }

    /** The records the simulator reports receiving, from the lines seen so far. */
    std::vector<int> receivedTypes (std::chrono::milliseconds listenFor)
    {
        std::vector<int> types;
        const auto end = std::chrono::steady_clock::now() + listenFor;

        while (std::chrono::steady_clock::now() < end)
        {
            // Keep the remote running while the simulator's output is read.
            MessageLoop::runFor (std::chrono::milliseconds (10));

            while (auto line = simulator->readLine (std::chrono::milliseconds (0)))
                if (auto record = RecordJson::fromJson (*line); record.isValid())
                    types.push_back (MessageRecord::integer (record, "RCType"));
        }

        return types;
    }

    MainComponent main;
    std::unique_ptr<Subprocess> simulator;
    juce::StringArray statements;
    juce::int32 clockOffset = 0;
};

inline int count (const std::vector<int>& types, int type)
{
    return (int) std::count (types.begin(), types.end(), type);
}
