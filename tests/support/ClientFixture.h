#pragma once

#include "app/MainComponent.h"
#include "protocol/ConnectionStart.h"

#include "support/HostEndpoint.h"
#include "support/MessageLoop.h"
#include "support/TestNetwork.h"

#include <gtest/gtest.h>

/**
    A main component connected to a host endpoint on loopback through the real connection
    start, with the client's clock and timer under the test's control and every page statement
    recorded. Network tests only.
*/
class ClientFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_PRIVATE_NETWORK();
        ASSERT_TRUE (host.isBound());

        main.show.getBridge().setEvaluator ([this] (const juce::String& s) { statements.add (s); });
        ConnectionStart::run (main, "127.0.0.1", "Stage");
        ASSERT_NE (client(), nullptr);

        // The test drives the ticks itself, against its own clock.
        client()->stopTimer();
        client()->clock = [this] { return now; };

        drain();
        statements.clear();
    }

    RCClient* client() { return main.getClient(); }

    /** Everything the endpoint has received so far, as records. */
    std::vector<juce::ValueTree> drain (int quietMs = 30)
    {
        std::vector<juce::ValueTree> records;

        for (;;)
        {
            auto record = host.receiveRecord (quietMs);

            if (! record.isValid())
                return records;

            records.push_back (record);
        }
    }

    static std::vector<int> typesOf (const std::vector<juce::ValueTree>& records)
    {
        std::vector<int> types;

        for (auto& r : records)
            types.push_back (MessageRecord::integer (r, "RCType"));

        return types;
    }

    /** Hands a record to the client as if it had come from the host. */
    void receive (const juce::ValueTree& record) { client()->handleIncoming (MessageRecord::toBytes (record)); }

    void receive (RCType type, std::initializer_list<MessageRecord::Property> properties = {})
    {
        receive (MessageRecord::build (type, properties));
    }

    /** A loaded show of the given song names, on the show screen. */
    void loadShow (juce::StringArray names, int showId = 5)
    {
        auto record = MessageRecord::build (RCType::ShowInfo,
            { { "HostName", "Stage Mac" }, { "ShowID", juce::String (showId) }, { "ShowName", "Gala" },
                { "Size", juce::String (names.size()) } });

        for (int i = 0; i < names.size(); ++i)
        {
            juce::ValueTree row ("S" + juce::String (i));
            row.setProperty ("SID", 100 + i, nullptr);
            row.setProperty ("SN", names[i], nullptr);
            record.appendChild (row, nullptr);
        }

        receive (record);
        main.connectPanel.setVisible (false);
        main.show.setVisible (true);
        statements.clear();
    }

    HostEndpoint host;
    MainComponent main;
    juce::StringArray statements;
    juce::int32 now = 1000000;
};
