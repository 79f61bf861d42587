#include "FakeRemote.h"
#include "PlayerState.h"
#include "RecordJson.h"

#include "support/Subprocess.h"
#include "support/TestNetwork.h"

#include <csignal>
#include <gtest/gtest.h>
#include <regex>

using namespace std::chrono_literals;

namespace
{
/** The simulator binary, started with the given flags and waited for until it listens. */
class SimulatorProcess
{
public:
    explicit SimulatorProcess (juce::StringArray flags = {})
    {
        flags.insert (0, QUENTARO_HOST_SIM_PATH);
        process = std::make_unique<Subprocess> (flags);
        listening = process->waitForLineContaining ("\"event\": \"listening\"", 10s).has_value();
    }

    bool isListening() const noexcept { return listening; }
    Subprocess& get() noexcept { return *process; }

    bool command (const juce::String& line) { return process->writeLine (line); }

    /** The next output line containing the text; empty when none comes in time. */
    juce::String lineWith (const juce::String& text, std::chrono::milliseconds timeout = 5s)
    {
        return process->waitForLineContaining (text, timeout).value_or (juce::String());
    }

    /** The next event line of this name, parsed; void when none comes in time. */
    juce::var event (const juce::String& name, std::chrono::milliseconds timeout = 5s)
    {
        auto line = lineWith ("\"event\": \"" + name + "\"", timeout);
        return line.isEmpty() ? juce::var() : juce::JSON::parse (line);
    }

    juce::var state()
    {
        command ("{\"cmd\": \"state\"}");
        return event ("state");
    }

private:
    std::unique_ptr<Subprocess> process;
    bool listening = false;
};

juce::String text (const juce::ValueTree& record, const char* name)
{
    return MessageRecord::text (record, name);
}

std::vector<int> kinds (const std::vector<juce::ValueTree>& records)
{
    std::vector<int> result;

    for (auto& record : records)
        result.push_back (FakeRemote::kind (record));

    return result;
}

/** Asks for the connection and waits until everything sent in answer has arrived; the show
    information comes first. */
std::vector<juce::ValueTree> connect (FakeRemote& remote)
{
    std::vector<juce::ValueTree> records;
    remote.send (RCType::ConnectRequest);
    remote.pingThrough ("0", records);
    return records;
}

/** A cue index or flag that the remote hands to its page unchanged must be a plain number. */
bool isScriptInteger (const juce::String& value)
{
    return value.isNotEmpty() && juce::String (value.getIntValue()) == value;
}
} // namespace

//==============================================================================
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
    for (auto* line :
        { "", "not json", "[1, 2]", "{\"props\": {}}", "{\"RCType\": 1, \"children\": [{\"props\": {}}]}" })
        EXPECT_FALSE (RecordJson::fromJson (line).isValid()) << line;
}

//==============================================================================
TEST (HostSimulator, PrintsWhatTheRemoteSendsAndSendsWhatItIsGiven)
{
    REQUIRE_PRIVATE_NETWORK();

    SimulatorProcess simulator ({ "--no-show", "--refresh-ms", "0" });
    ASSERT_TRUE (simulator.isListening());
    FakeRemote remote;
    ASSERT_TRUE (remote.isReady());

    // Before any record names the remote, the simulator has nowhere to send.
    simulator.command ("{\"RCType\": 106, \"props\": {\"t\": \"1\"}}");
    EXPECT_FALSE (simulator.event ("no-remote").isVoid());

    remote.send (RCType::ConnectRequest);
    auto printed = RecordJson::fromJson (simulator.lineWith ("\"RCType\""));
    EXPECT_EQ (MessageRecord::integer (printed, "RCType"), 1);
    EXPECT_EQ (text (printed, "IP"), "127.0.0.1");

    simulator.command ("{\"RCType\": 101, \"props\": {\"currentcue\": 2, \"nextcue\": \"3\"}}");
    auto injected = remote.waitFor (RCType::CueState);
    ASSERT_TRUE (injected.isValid());
    EXPECT_TRUE (injected.getProperty ("currentcue").isInt());
    EXPECT_EQ (text (injected, "nextcue"), "3");

    simulator.command ("this is not a record");
    EXPECT_FALSE (simulator.event ("bad-input").isVoid());

    EXPECT_EQ (simulator.get().terminate (SIGTERM), 0);
}

TEST (HostSimulator, AnswersAConnectionRequestWithTheWholeShow)
{
    REQUIRE_PRIVATE_NETWORK();

    SimulatorProcess simulator ({ "--name", "Stage Left", "--refresh-ms", "0" });
    ASSERT_TRUE (simulator.isListening());
    FakeRemote remote;
    ASSERT_TRUE (remote.isReady());

    auto records = connect (remote);
    std::vector<int> expected { 100, 103, 101, 102, 105, 104 };
    ASSERT_EQ (kinds (records), expected);
    auto& info = records[0];
    auto& table = records[1];
    auto& cues = records[2];
    auto& transport = records[3];
    auto& hotCues = records[4];
    auto& loop = records[5];

    EXPECT_EQ (text (info, "HostName"), "Stage Left");
    EXPECT_GT (MessageRecord::integer (info, "ShowID"), 0);
    EXPECT_TRUE (text (info, "ShowName").isNotEmpty());
    auto size = MessageRecord::integer (info, "Size");
    EXPECT_GE (size, 12);
    ASSERT_EQ (info.getNumChildren(), size);

    auto document = juce::JSON::parse (text (table, "json"));
    ASSERT_TRUE (document.isArray()) << text (table, "json");
    ASSERT_EQ (document.size(), size);

    for (int i = 0; i < size; ++i)
    {
        auto row = info.getChildWithName ("S" + juce::String (i));
        ASSERT_TRUE (row.isValid()) << i;
        EXPECT_EQ (text (row, "SN"), document[i]["songname"].toString()) << i;
        EXPECT_TRUE (isScriptInteger (text (row, "SID"))) << i;
        EXPECT_EQ ((int) document[i]["cue"], i);
    }

    EXPECT_EQ (text (table, "currentcue"), "-1");
    EXPECT_EQ (text (table, "nextcue"), "0");
    EXPECT_EQ (text (cues, "currentcue"), "-1");
    EXPECT_EQ (text (cues, "nextcue"), "0");

    // Nothing plays yet: the transport shows the first song, the next to play.
    EXPECT_EQ (text (transport, "pos"), "0");
    EXPECT_EQ (text (transport, "time"), "00:00:00:00");
    EXPECT_GT (MessageRecord::integer (transport, "maxpos"), 0);

    auto hotCueCount = MessageRecord::integer (hotCues, "Size");
    EXPECT_GE (hotCueCount, 8);
    ASSERT_EQ (hotCues.getNumChildren(), hotCueCount);
    const std::regex colour ("#?([0-9a-fA-F]{6}|[0-9a-fA-F]{8})");

    for (int i = 0; i < hotCueCount; ++i)
    {
        auto row = hotCues.getChildWithName ("C" + juce::String (i));
        EXPECT_TRUE (text (row, "cueName").isNotEmpty()) << i;
        EXPECT_TRUE (std::regex_match (text (row, "colourCode").toStdString(), colour)) << i;
    }

    for (auto* name : { "songCue", "markerNum", "enabled" })
        EXPECT_TRUE (isScriptInteger (text (loop, name))) << name << " " << text (loop, name);

    EXPECT_EQ (text (loop, "enabled"), "1");
}

TEST (HostSimulator, EchoesEveryPingUnchanged)
{
    REQUIRE_PRIVATE_NETWORK();

    SimulatorProcess simulator ({ "--refresh-ms", "0" });
    ASSERT_TRUE (simulator.isListening());
    FakeRemote remote;
    ASSERT_TRUE (remote.isReady());

    // Pings come before any connection request too; "t" goes back as the remote wrote it.
    for (auto* t : { "0", "4294967295", "123456789012", " 42", "not a number" })
    {
        std::vector<juce::ValueTree> before;
        EXPECT_TRUE (remote.pingThrough (t, before).isValid()) << t;
        EXPECT_TRUE (before.empty()) << t;
    }
}

TEST (HostSimulator, ServesARemoteOnlyAfterTheRightPin)
{
    REQUIRE_PRIVATE_NETWORK();

    SimulatorProcess simulator ({ "--pin", "4321", "--refresh-ms", "0" });
    ASSERT_TRUE (simulator.isListening());
    FakeRemote remote;
    ASSERT_TRUE (remote.isReady());

    std::vector<juce::ValueTree> records;
    remote.send (RCType::ConnectRequest);
    remote.send (RCType::Play);
    ASSERT_TRUE (remote.pingThrough ("1", records).isValid());
    EXPECT_EQ (kinds (records), std::vector<int> { 107 });
    EXPECT_EQ ((int) simulator.event ("unpaired")["RCType"], 2);

    records.clear();
    remote.send (RCType::SubmitPin, { { "IP", FakeRemote::address }, { "Pin", "1234" } });
    ASSERT_TRUE (remote.pingThrough ("2", records).isValid());
    EXPECT_EQ (kinds (records), std::vector<int> { 108 });
    EXPECT_FALSE (simulator.event ("pin-rejected").isVoid());

    records.clear();
    remote.send (RCType::SubmitPin, { { "IP", FakeRemote::address }, { "Pin", " 4321 " } });
    ASSERT_TRUE (remote.pingThrough ("3", records).isValid());
    ASSERT_FALSE (records.empty());
    EXPECT_EQ (FakeRemote::kind (records[0]), 100);
    EXPECT_GT (MessageRecord::integer (records[0], "ShowID"), 0);
    EXPECT_FALSE (simulator.event ("pin-accepted").isVoid());

    // The remote asks again 150 ms after its PIN; now it is served straight away, and the
    // play it sent before pairing was never carried out.
    remote.send (RCType::ConnectRequest);
    EXPECT_TRUE (remote.waitFor (RCType::ShowInfo).isValid());
    auto state = simulator.state();
    EXPECT_EQ (state["transport"].toString(), "stopped");
    EXPECT_EQ ((bool) state["paired"], true);
}

TEST (HostSimulator, CarriesOutTheRemotesCueCommands)
{
    REQUIRE_PRIVATE_NETWORK();

    SimulatorProcess simulator ({ "--refresh-ms", "0" });
    ASSERT_TRUE (simulator.isListening());
    FakeRemote remote;
    ASSERT_TRUE (remote.isReady());
    ASSERT_FALSE (connect (remote).empty());

    // On the built-in show: song 5 has a marker 2, the hot cue "Encore" starts song 11 and
    // song 9's media is missing.
    struct Step
    {
        RCType type;
        std::vector<MessageRecord::Property> properties;
        const char* current;
        const char* next;
    };

    const Step steps[] = {
        { RCType::Play, {}, "0", "1" },
        { RCType::SetNextCue, { { "ID", "3" } }, "0", "3" },
        { RCType::PlayNext, {}, "3", "4" },
        { RCType::FireMarker, { { "songCue", "5" }, { "markerNum", "2" } }, "5", "6" },
        { RCType::FireHotCue, { { "cueName", "Encore" } }, "11", "12" },
        { RCType::FireCue, { { "cue", "9" } }, "11", "12" },
        { RCType::PlayPrev, {}, "10", "11" },
        { RCType::SetNextCue, { { "ID", "99" } }, "10", "11" },
        { RCType::Stop, {}, "10", "11" },
    };

    for (auto& step : steps)
    {
        remote.send (step.type, step.properties);
        auto cues = remote.waitFor (RCType::CueState);
        ASSERT_TRUE (cues.isValid()) << (int) step.type;
        EXPECT_EQ (text (cues, "currentcue"), juce::String (step.current)) << (int) step.type;
        EXPECT_EQ (text (cues, "nextcue"), juce::String (step.next)) << (int) step.type;
    }

    EXPECT_EQ (simulator.event ("hot-cue")["cueName"].toString(), "Encore");
    EXPECT_EQ ((int) simulator.event ("media-missing")["cue"], 9);

    remote.send (RCType::SetMarkerLoop, { { "songCue", "5" }, { "markerNum", "3" }, { "enabled", "1" } });
    auto loop = remote.waitFor (RCType::MarkerLoopState);
    EXPECT_EQ (text (loop, "songCue"), "5");
    EXPECT_EQ (text (loop, "markerNum"), "3");
    EXPECT_EQ (text (loop, "enabled"), "1");
}

TEST (HostSimulator, ReportsThePositionAdvancingWhilePlaying)
{
    REQUIRE_PRIVATE_NETWORK();

    SimulatorProcess simulator ({ "--refresh-ms", "0" });
    ASSERT_TRUE (simulator.isListening());
    FakeRemote remote;
    ASSERT_TRUE (remote.isReady());
    ASSERT_FALSE (connect (remote).empty());

    remote.send (RCType::Play);
    const std::regex time ("[0-9]{2,}:[0-5][0-9]:[0-5][0-9]:([0-2][0-9])");
    juce::int64 previous = -1;

    for (int i = 0; i < 5; ++i)
    {
        auto transport = remote.waitFor (RCType::TransportState);
        ASSERT_TRUE (transport.isValid()) << i;
        auto pos = MessageRecord::integer64 (transport, "pos");
        EXPECT_LE (pos, MessageRecord::integer64 (transport, "maxpos"));
        EXPECT_EQ (text (transport, "time"), PlayerState::formatTime (pos));
        EXPECT_TRUE (std::regex_match (text (transport, "time").toStdString(), time)) << text (transport, "time");

        // The first report answers the play command itself and may still say 0.
        if (i > 1)
        {
            EXPECT_GT (pos, previous) << i;
        }

        previous = pos;
    }

    remote.send (RCType::Pause);
    ASSERT_TRUE (remote.waitFor (RCType::CueState).isValid());
    auto held = remote.waitFor (RCType::TransportState);
    auto state = simulator.state();
    EXPECT_EQ (state["transport"].toString(), "paused");
    EXPECT_EQ ((juce::int64) state["position"], MessageRecord::integer64 (held, "pos"));

    // Positions come as printf's %g writes them; beyond the song they stop at its end.
    remote.send (RCType::SetPosition, { { "SetPos", "61234.5" } });
    remote.waitFor (RCType::CueState);
    EXPECT_EQ (text (remote.waitFor (RCType::TransportState), "pos"), "61235");

    remote.send (RCType::SetPosition, { { "SetPos", "1.23457e+06" } });
    remote.waitFor (RCType::CueState);
    auto clamped = remote.waitFor (RCType::TransportState);
    EXPECT_EQ (text (clamped, "pos"), text (clamped, "maxpos"));
}

TEST (HostSimulator, RepeatsTheStateForARemoteThatMissedIt)
{
    REQUIRE_PRIVATE_NETWORK();

    // The remote drops cue and transport states until its show screen is up, which happens
    // after the first burst; the host's repetition brings it up to date.
    SimulatorProcess simulator ({ "--refresh-ms", "200" });
    ASSERT_TRUE (simulator.isListening());
    FakeRemote remote;
    ASSERT_TRUE (remote.isReady());
    ASSERT_FALSE (connect (remote).empty());

    for (int i = 0; i < 2; ++i)
    {
        EXPECT_TRUE (remote.waitFor (RCType::CueState).isValid()) << i;
        EXPECT_TRUE (remote.waitFor (RCType::TransportState).isValid()) << i;
    }
}

TEST (HostSimulator, ASongThatPlaysToItsEndStopsAndSaysSo)
{
    REQUIRE_PRIVATE_NETWORK();

    juce::TemporaryFile file (".json");
    ASSERT_TRUE (file.getFile().replaceWithText (R"([{"songname": "Blip", "length": 300}, {"songname": "After"}])"));

    SimulatorProcess simulator ({ "--show", file.getFile().getFullPathName(), "--refresh-ms", "0" });
    ASSERT_TRUE (simulator.isListening());
    FakeRemote remote;
    ASSERT_TRUE (remote.isReady());
    ASSERT_FALSE (connect (remote).empty());

    remote.send (RCType::Play);
    ASSERT_TRUE (remote.waitFor (RCType::CueState).isValid());
    EXPECT_EQ ((int) simulator.event ("song-ended")["cue"], 0);

    // The end is reported as a stop at the song's start, the song still the current one.
    auto cues = remote.waitFor (RCType::CueState);
    EXPECT_EQ (text (cues, "currentcue"), "0");
    EXPECT_EQ (text (cues, "nextcue"), "1");
    EXPECT_EQ (simulator.state()["transport"].toString(), "stopped");
}

TEST (HostSimulator, SilenceSendsAndAnswersNothingUntilItEnds)
{
    REQUIRE_PRIVATE_NETWORK();

    SimulatorProcess simulator ({ "--refresh-ms", "0" });
    ASSERT_TRUE (simulator.isListening());
    FakeRemote remote;
    ASSERT_TRUE (remote.isReady());
    ASSERT_FALSE (connect (remote).empty());

    const auto silenceAsked = std::chrono::steady_clock::now();
    simulator.command ("{\"cmd\": \"silence\", \"seconds\": 1}");
    ASSERT_FALSE (simulator.event ("fault-started").isVoid());

    remote.send (RCType::ConnectRequest);
    remote.send (RCType::Ping, { { "t", "111" } });
    remote.send (RCType::Play);

    // Received and printed, but neither answered nor carried out.
    EXPECT_TRUE (simulator.lineWith ("\"t\": \"111\"").isNotEmpty());
    EXPECT_TRUE (simulator.lineWith ("\"RCType\": 2,").isNotEmpty());
    ASSERT_FALSE (simulator.event ("fault-ended").isVoid());
    EXPECT_GE (std::chrono::steady_clock::now() - silenceAsked, 1s);

    // Anything the silence let through would arrive before this pong.
    std::vector<juce::ValueTree> records;
    ASSERT_TRUE (remote.pingThrough ("222", records).isValid());
    EXPECT_TRUE (records.empty()) << kinds (records).size();
    EXPECT_EQ (simulator.state()["transport"].toString(), "stopped");
}

TEST (HostSimulator, PongsOnlyAnswersPingsAndNothingElse)
{
    REQUIRE_PRIVATE_NETWORK();

    SimulatorProcess simulator ({ "--pongs-only", "--refresh-ms", "0" });
    ASSERT_TRUE (simulator.isListening());
    FakeRemote remote;
    ASSERT_TRUE (remote.isReady());

    std::vector<juce::ValueTree> records;
    remote.send (RCType::ConnectRequest);
    remote.send (RCType::Play);
    ASSERT_TRUE (remote.pingThrough ("7", records).isValid());
    EXPECT_TRUE (records.empty()) << kinds (records).size();

    simulator.command ("{\"cmd\": \"pongs-only\", \"on\": false}");
    ASSERT_FALSE (simulator.event ("fault-ended").isVoid());
    remote.send (RCType::ConnectRequest);
    EXPECT_TRUE (remote.waitFor (RCType::ShowInfo).isValid());
}

TEST (HostSimulator, StartsWithoutAShowAndLoadsOneLater)
{
    REQUIRE_PRIVATE_NETWORK();

    SimulatorProcess simulator ({ "--no-show", "--refresh-ms", "0" });
    ASSERT_TRUE (simulator.isListening());
    FakeRemote remote;
    ASSERT_TRUE (remote.isReady());

    auto records = connect (remote);
    ASSERT_EQ (kinds (records), std::vector<int> { 100 });
    EXPECT_EQ (text (records[0], "ShowID"), "-1");
    EXPECT_EQ (records[0].getNumChildren(), 0);

    simulator.command ("{\"cmd\": \"load-show\"}");
    auto info = remote.waitFor (RCType::ShowInfo);
    EXPECT_GT (MessageRecord::integer (info, "ShowID"), 0);
    EXPECT_GE (info.getNumChildren(), 12);
    EXPECT_TRUE (remote.waitFor (RCType::CueTable).isValid());

    simulator.command ("{\"cmd\": \"unload-show\"}");
    EXPECT_EQ (text (remote.waitFor (RCType::ShowInfo), "ShowID"), "-1");
}

TEST (HostSimulator, SwitchingShowsAnnouncesANewShow)
{
    REQUIRE_PRIVATE_NETWORK();

    SimulatorProcess simulator ({ "--refresh-ms", "0" });
    ASSERT_TRUE (simulator.isListening());
    FakeRemote remote;
    ASSERT_TRUE (remote.isReady());
    auto records = connect (remote);
    ASSERT_FALSE (records.empty());
    auto first = records[0];

    auto previous = first;

    // There and back: every switch is a new show identifier, even back to the first show.
    for (int i = 0; i < 2; ++i)
    {
        simulator.command ("{\"cmd\": \"switch-show\"}");
        auto info = remote.waitFor (RCType::ShowInfo);
        ASSERT_TRUE (info.isValid()) << i;
        EXPECT_NE (text (info, "ShowID"), text (previous, "ShowID")) << i;
        EXPECT_NE (text (info, "ShowName"), text (previous, "ShowName")) << i;

        auto table = remote.waitFor (RCType::CueTable);
        EXPECT_EQ (juce::JSON::parse (text (table, "json")).size(), info.getNumChildren()) << i;
        previous = info;
    }

    EXPECT_EQ (text (previous, "ShowName"), text (first, "ShowName"));
    EXPECT_NE (text (previous, "ShowID"), text (first, "ShowID"));
}

TEST (HostSimulator, PlaysAShowFromAFile)
{
    REQUIRE_PRIVATE_NETWORK();

    const juce::String document =
        R"([{"cue": 0, "songname": "Sound Check", "tracks": 2, "markers": [)"
        R"({"index": 0, "position": 0, "name": "Kick", "songCue": 0, "loopActive": false},)"
        R"({"index": 1, "position": 4500.5, "name": "Snare", "songCue": 0, "loopActive": false}],)"
        R"("tempos": [{"bpm": 96.5, "position": 0, "songCue": 0}],)"
        R"("timesignature": [{"numerator": 5, "denominator": 4, "position": 0, "songCue": 0}],)"
        R"("file_missing": false},)"
        R"({"cue": 1, "songname": "Line Check", "tracks": 1, "markers": [], "tempos": [],)"
        R"("timesignature": [], "file_missing": true}])";

    juce::TemporaryFile file (".json");
    ASSERT_TRUE (file.getFile().replaceWithText (document));

    SimulatorProcess simulator ({ "--show", file.getFile().getFullPathName(), "--refresh-ms", "0" });
    ASSERT_TRUE (simulator.isListening());
    FakeRemote remote;
    ASSERT_TRUE (remote.isReady());

    auto records = connect (remote);
    ASSERT_EQ (kinds (records), (std::vector<int> { 100, 103, 101, 102, 105 }));
    auto& info = records[0];
    EXPECT_EQ (text (info, "ShowName"), file.getFile().getFileNameWithoutExtension());
    EXPECT_EQ (text (info, "Size"), "2");

    auto sent = juce::JSON::parse (text (records[1], "json"));
    EXPECT_EQ (juce::JSON::toString (sent, true), juce::JSON::toString (juce::JSON::parse (document), true));

    // Without "length", a song plays on for 30 s after its last marker.
    EXPECT_EQ (text (records[3], "maxpos"), "34501");
}

TEST (HostSimulator, SaysGoodbyeOnDisconnectAndOnQuitting)
{
    REQUIRE_PRIVATE_NETWORK();

    for (auto signalNumber : { 0, SIGTERM, SIGINT })
    {
        SCOPED_TRACE (signalNumber);
        SimulatorProcess simulator ({ "--refresh-ms", "0" });
        ASSERT_TRUE (simulator.isListening());
        FakeRemote remote;
        ASSERT_TRUE (remote.isReady());
        ASSERT_FALSE (connect (remote).empty());

        if (signalNumber != 0)
        {
            EXPECT_EQ (simulator.get().terminate (signalNumber), 0);
            EXPECT_TRUE (remote.waitFor (RCType::HostDisconnect).isValid());
            continue;
        }

        simulator.command ("{\"cmd\": \"disconnect\"}");
        EXPECT_TRUE (remote.waitFor (RCType::HostDisconnect).isValid());
        EXPECT_TRUE ((bool) simulator.event ("goodbye")["sent"]);

        // The remote is forgotten until it speaks again.
        simulator.command ("{\"RCType\": 106, \"props\": {\"t\": \"1\"}}");
        EXPECT_FALSE (simulator.event ("no-remote").isVoid());
        remote.send (RCType::ConnectRequest);
        EXPECT_TRUE (remote.waitFor (RCType::ShowInfo).isValid());
    }
}
