#include "RecordJson.h"
#include "protocol/RCClient.h"

#include "support/MessageLoop.h"
#include "support/Subprocess.h"
#include "support/TestNetwork.h"

#include <csignal>
#include <gtest/gtest.h>

namespace
{
struct RecordingOwner : RCClient::Owner
{
    void remoteRecordReceived (RCClient&, int rcType, const juce::ValueTree& record) override
    {
        received.push_back ({ rcType, record });
    }

    std::vector<std::pair<int, juce::ValueTree>> received;
};
} // namespace

TEST (RecordJson, KeepsOrderAndWireTypesBothWays)
{
    auto record =
        MessageRecord::build (RCType::ShowInfo, { { "HostName", "Stage \"A\"" }, { "ShowID", "7" }, { "Size", "1" } });
    juce::ValueTree row ("S0");
    row.setProperty ("SID", 42, nullptr);
    row.setProperty ("SN", juce::String (juce::CharPointer_UTF8 ("Intro \xe0\xb8\x81")), nullptr);
    record.appendChild (row, nullptr);

    auto json = RecordJson::toJson (record);
    EXPECT_FALSE (json.containsChar ('\n'));
    EXPECT_LT (json.indexOf ("HostName"), json.indexOf ("ShowID"));
    EXPECT_LT (json.indexOf ("ShowID"), json.indexOf ("Size"));

    auto back = RecordJson::fromJson (json);
    EXPECT_TRUE (back.isEquivalentTo (record)) << json;
    EXPECT_TRUE (back.getProperty ("RCType").isInt());
    EXPECT_TRUE (back.getChild (0).getProperty ("SID").isInt());
    EXPECT_TRUE (back.getProperty ("ShowID").isString());
}

TEST (RecordJson, TextsThatAreNotRecordsGiveNothing)
{
    for (auto* text :
        { "", "not json", "[1, 2]", "{\"props\": {}}", "{\"RCType\": 1, \"children\": [{\"props\": {}}]}" })
        EXPECT_FALSE (RecordJson::fromJson (text).isValid()) << text;
}

TEST (HostSimulator, PrintsWhatTheRemoteSendsAndSendsWhatItIsGiven)
{
    REQUIRE_PRIVATE_NETWORK();

    Subprocess simulator ({ QUENTARO_HOST_SIM_PATH });
    ASSERT_TRUE (simulator.waitForLineContaining ("\"listening\"", std::chrono::seconds (10)));

    RecordingOwner owner;
    auto client = std::make_shared<RCClient> (owner);
    ASSERT_TRUE (client->connectReceiver());
    client->localAddress = "127.0.0.1";
    ASSERT_TRUE (client->openSender ("127.0.0.1"));

    // Before any record names the remote, the simulator has nowhere to send.
    simulator.writeLine ("{\"RCType\": 106, \"props\": {\"t\": \"1\"}}");
    EXPECT_TRUE (simulator.waitForLineContaining ("no-remote", std::chrono::seconds (5)));

    client->sendConnectRequest();
    auto line = simulator.waitForLineContaining ("\"RCType\"", std::chrono::seconds (5));
    ASSERT_TRUE (line);
    auto printed = RecordJson::fromJson (*line);
    EXPECT_EQ (MessageRecord::integer (printed, "RCType"), 1);
    EXPECT_EQ (MessageRecord::text (printed, "IP"), "127.0.0.1");

    simulator.writeLine ("{\"RCType\": 101, \"props\": {\"currentcue\": 2, \"nextcue\": \"3\"}}");
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return ! owner.received.empty(); }));
    EXPECT_EQ (owner.received[0].first, 101);
    EXPECT_TRUE (owner.received[0].second.getProperty ("currentcue").isInt());
    EXPECT_EQ (MessageRecord::text (owner.received[0].second, "nextcue"), "3");

    simulator.writeLine ("this is not a record");
    EXPECT_TRUE (simulator.waitForLineContaining ("bad-input", std::chrono::seconds (5)));

    EXPECT_EQ (simulator.terminate (SIGTERM), 0);
}
