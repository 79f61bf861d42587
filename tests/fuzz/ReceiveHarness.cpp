#include "ReceiveHarness.h"

#include "FuzzCheck.h"
#include "protocol/OscPacket.h"

#include <cstring>

const juce::String ReceiveHarness::loadedShowName { "Rehearsal" };

namespace
{
ReceiveHarness* sharedHarness = nullptr;

/** Every statement the bridge makes starts with one of these calls. */
bool isKnownStatement (const juce::String& statement)
{
    static const char* const calls[] = { "window_onload();", "native_setTableData(", "setCurrentCue(", "setNextCue(",
        "setCurrentMarkerLoop(", "setTransportPosition(", "var _qnRow=document.querySelector(" };

    for (auto* call : calls)
        if (statement.startsWith (call))
            return true;

    return false;
}
} // namespace

ReceiveHarness::ReceiveHarness()
{
    // No web view: the bridge hands its statements to the recorder below instead.
    Show::setWebViewsEnabled (false);
    main = std::make_unique<MainComponent>();

    // Discovery has nothing to do with receiving, and its thread would only add noise.
    main->connectPanel.stopDiscovery();
    main->show.getBridge().setEvaluator ([this] (const juce::String& statement) { recorded.add (statement); });

    auto showInfo = MessageRecord::build (RCType::ShowInfo,
        { { "HostName", "Stage Mac" }, { "ShowID", "7" }, { "ShowName", loadedShowName },
            { "Size", juce::String (loadedSongs) } });

    for (int i = 0; i < loadedSongs; ++i)
    {
        juce::ValueTree row ("S" + juce::String (i));
        row.setProperty ("SID", juce::String (100 + i), nullptr);
        row.setProperty ("SN", "Song " + juce::String (i), nullptr);
        showInfo.appendChild (row, nullptr);
    }

    auto hotCueList = MessageRecord::build (RCType::HotCueList, { { "Size", juce::String (loadedHotCues) } });

    for (int i = 0; i < loadedHotCues; ++i)
    {
        juce::ValueTree row ("C" + juce::String (i));
        row.setProperty ("cueName", "Cue " + juce::String (i), nullptr);
        row.setProperty ("colourCode", "ff3366ff", nullptr);
        hotCueList.appendChild (row, nullptr);
    }

    showInfoBytes = MessageRecord::toBytes (showInfo);
    hotCueListBytes = MessageRecord::toBytes (hotCueList);
}

ReceiveHarness::~ReceiveHarness()
{
    main->show.getBridge().setEvaluator (nullptr);
    main = nullptr;
    drainMessageLoop();
}

ReceiveHarness& ReceiveHarness::shared()
{
    if (sharedHarness == nullptr)
        sharedHarness = new ReceiveHarness();

    return *sharedHarness;
}

void ReceiveHarness::releaseShared()
{
    delete sharedHarness;
    sharedHarness = nullptr;
}

//==============================================================================
ReceiveHarness::Outcome ReceiveHarness::receive (const void* data, size_t size)
{
    startSession();
    const auto outcome = deliver (data, size);

    // A disconnect closes the MIDI tab with a sliding animation, whose timer must not run on
    // into the next input.
    main->show.stopAnimation();
    drainMessageLoop();

    for (auto& statement : recorded)
        FUZZ_CHECK (isKnownStatement (statement));

    // However many rows a record claims, the screen gets a bounded number of components.
    FUZZ_CHECK (main->show.hotCuePanel.cueButtons.size() <= RemoteMidiHotCuePanel::maxButtons);

    return outcome;
}

void ReceiveHarness::startSession()
{
    auto& show = main->show;
    show.resetSession();
    show.positionSlider.setRange (0.0, 240000.0, 0.0);

    // A fresh client, set up as ConnectionStart sets one up but without sockets; the previous
    // one goes first.
    main->remote = std::make_unique<RemoteConnection>();
    main->remote->owner = main.get();
    auto client = std::make_shared<RCClient> (*main);
    main->remote->client = client;
    client->webBrowser = show.getWebBrowser();
    client->localAddress = "127.0.0.1";
    client->clock = [] { return (juce::int32) 1700000000; };

    // The host's announcement, then the show screen with the MIDI tab open, as the status poll
    // and the operator leave them (the tab without its sliding animation).
    client->handleIncoming (showInfoBytes);
    client->handleIncoming (hotCueListBytes);
    main->connectPanel.setVisible (false);
    show.setVisible (true);
    main->statusLabel.setVisible (false);

    show.showMidiTab();
    show.stopAnimation();
    show.panelHeight = show.panelTargetHeight;
    show.panelSlideOffset = 0;
    show.resized();

    drainMessageLoop();
    recorded.clear();
}

ReceiveHarness::Outcome ReceiveHarness::deliver (const void* data, size_t size)
{
    // What the client's receiver thread does with a datagram it has read.
    const auto received = OscPacket::readMessage (data, size);
    checkDecoding (data, size, received);

    if (! received.has_value())
        return Outcome::dropped;

    const auto& message = *received;

    if (! RCClient::accepts (message))
        return Outcome::notAccepted;

    // What the receiver thread posts and the message thread then runs: a copy of the blob,
    // handled under a strong reference to the client (a handler may end the connection).
    auto client = main->remote->client;
    const juce::MemoryBlock bytes (message[0].getBlob());

    if (! client->stopped.load())
        client->handleIncoming (bytes);

    return Outcome::delivered;
}

void ReceiveHarness::checkDecoding (const void* data, size_t size, const std::optional<juce::OSCMessage>& received)
{
    size = juce::jmin (size, OscPacket::receiveBufferSize);

    // The framework's decoder reads every message the check lets through ...
    FUZZ_CHECK (received.has_value() == OscPacket::isWellFormedMessage (data, size));

    // ... as the message the framework's sender writes as those very bytes (the decoder drops
    // an address's trailing slashes, which the sender then does not write).
    if (! received.has_value())
        return;

    const auto* address = static_cast<const char*> (data); // NUL-terminated in a well-formed message

    if (address[std::strlen (address) - 1] != '/')
        FUZZ_CHECK (OscPacket::encode (*received) == juce::MemoryBlock (data, size));
}

void ReceiveHarness::drainMessageLoop()
{
    // The queue runs in order: once a marker posted now has run, so has everything posted
    // before it (a slider's change message, say), and nothing piles up from input to input.
    auto reached = std::make_shared<bool> (false);
    juce::MessageManager::callAsync ([reached] { *reached = true; });

    for (int round = 0; ! *reached && round < 1000; ++round)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (0);

    FUZZ_CHECK (*reached);
}
