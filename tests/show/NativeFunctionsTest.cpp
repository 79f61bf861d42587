#include "support/ClientFixture.h"

namespace
{
class NativeFunctions : public ClientFixture
{
protected:
    void SetUp() override
    {
        ClientFixture::SetUp();
        options = main.show.withNativeFunctions (juce::WebBrowserComponent::Options {});
    }

    /** Calls a registered native function as the page would. */
    void call (const char* name, const std::vector<juce::var>& values)
    {
        juce::Array<juce::var> args (values.data(), (int) values.size());
        auto& functions = options.getNativeFunctions();
        auto found = functions.find (juce::Identifier (name));
        ASSERT_NE (found, functions.end()) << name;
        found->second (args, [] (juce::var) { ADD_FAILURE() << "the page's calls are never completed"; });
    }

    juce::WebBrowserComponent::Options options;
};

juce::StringArray propertiesOf (const juce::ValueTree& record)
{
    juce::StringArray result;

    for (int i = 0; i < record.getNumProperties(); ++i)
        result.add (
            record.getPropertyName (i).toString() + "=" + record.getProperty (record.getPropertyName (i)).toString());

    return result;
}
} // namespace

TEST (NativeFunctionArguments, ReadAsTextThenTheLeadingInteger)
{
    const juce::Array<juce::var> args { 7, 2.9, true, false, "12abc", " -3", "x", juce::var(),
        juce::Array<juce::var> {} };
    const int expected[] = { 7, 2, 1, 0, 12, -3, 0, 0, 0 };

    for (int i = 0; i < args.size(); ++i)
        EXPECT_EQ (Show::argumentAsInt (args, i), expected[i]) << args[i].toString();

    EXPECT_EQ (Show::argumentAsInt (args, 99), 0); // missing
}

TEST_F (NativeFunctions, TheEightFunctionsAndTheMessagesTheyCause)
{
    juce::StringArray names;
    for (auto& [name, function] : options.getNativeFunctions())
        names.add (name.toString());
    names.sort (false);
    EXPECT_EQ (names,
        (juce::StringArray { "deleteMarker", "editSongInfo", "fireCue", "fireMarker", "keyboardGrab", "setMarkerLoop",
            "setNextCue", "window.onload" }));

    loadShow ({ "A", "B", "C", "D", "E" });

    struct Case
    {
        const char* name;
        std::vector<juce::var> args;
        juce::StringArray sent; // empty: nothing goes to the host
    };

    const Case cases[] = {
        { "fireCue", { 3 }, { "RCType=12", "cue=3", "IP=127.0.0.1" } },
        { "fireCue", {}, { "RCType=12", "cue=0", "IP=127.0.0.1" } },
        { "fireMarker", { 2, 4 }, { "RCType=10", "songCue=2", "markerNum=4", "IP=127.0.0.1" } },
        { "setMarkerLoop", { 2, 1, true }, { "RCType=11", "songCue=2", "markerNum=1", "enabled=1", "IP=127.0.0.1" } },
        { "setMarkerLoop", { "2", 1.7 }, { "RCType=11", "songCue=2", "markerNum=1", "enabled=0", "IP=127.0.0.1" } },
        { "setNextCue", { 4 }, { "RCType=9", "ID=4", "IP=127.0.0.1" } },
        { "deleteMarker", { 1, 2 }, {} },
        { "editSongInfo", { 3 }, {} },
        { "window.onload", {}, {} },
        { "keyboardGrab", {}, {} },
    };

    for (auto& c : cases)
    {
        call (c.name, c.args);
        auto records = drain();

        if (c.sent.isEmpty())
        {
            EXPECT_TRUE (records.empty()) << c.name;
            continue;
        }

        ASSERT_EQ (records.size(), 1u) << c.name;
        EXPECT_EQ (propertiesOf (records[0]), c.sent) << c.name;
    }

    EXPECT_EQ (main.show.nextCue, 4);
    EXPECT_EQ (main.show.nextCueCard.getValue(), "4 - E");
}

TEST_F (NativeFunctions, TheGateKeepsCommandsFromTheHostWithoutAShowOrInTheDemo)
{
    loadShow ({ "A", "B", "C" });

    struct Case
    {
        const char* situation;
        std::function<void (MainComponent&)> arrange;
    };

    const Case cases[] = {
        { "demo", [] (MainComponent& m) { m.show.demoMode = true; } },
        { "no show", [] (MainComponent& m) { m.show.showId = -1; } },
    };

    for (auto& c : cases)
    {
        loadShow ({ "A", "B", "C" }, 7 + (int) (&c - cases));
        main.show.demoMode = false;
        c.arrange (main);
        statements.clear();

        call ("fireCue", { 1 });
        call ("fireMarker", { 1, 1 });
        call ("setMarkerLoop", { 1, 1, 1 });
        call ("setNextCue", { 2 });

        EXPECT_TRUE (drain().empty()) << c.situation;

        // The next cue still moves on the screen and in the page.
        EXPECT_EQ (main.show.nextCueCard.getValue(), "2 - C") << c.situation;
        EXPECT_TRUE (statements.contains ("setNextCue(2);")) << c.situation;
    }

    main.show.demoMode = false;
    main.disconnectRemote();
    call ("fireCue", { 1 }); // no client at all: nothing, and no crash
}
