#include "RCClient.h"

#include "../app/MainComponent.h"
#include "MessageFormat.h"
#include "OscPacket.h"

const juce::String RCClient::address { "/quentaro" };

namespace
{
const juce::Colour grey { 0xffa1a1aa };
const juce::Colour green { 0xff22c55e };
const juce::Colour amber { 0xfffbbf24 };
const juce::Colour red { 0xffef4444 };
} // namespace

//==============================================================================
struct RCClient::PostedRecord
{
    PostedRecord (std::shared_ptr<RCClient> c, juce::MemoryBlock b) : client (std::move (c)), bytes (std::move (b)) {}

    PostedRecord (const PostedRecord&) = default;
    PostedRecord (PostedRecord&&) = default;
    PostedRecord& operator= (const PostedRecord&) = default;
    PostedRecord& operator= (PostedRecord&&) = default;

    ~PostedRecord()
    {
        // Only reached off the message thread when the post itself failed (the message loop
        // is gone): the release must still not run the tear-down on the receiver thread.
        if (client != nullptr && ! juce::MessageManager::existsAndIsCurrentThread())
            releaseOnMessageThread (std::move (client));
    }

    void operator()()
    {
        // Message thread. A record that was already queued when the owner let go of this
        // client (the host said goodbye, the operator disconnected or chose another host)
        // belongs to a connection that is over: handling it would bring back "Connected" or
        // the old host's show under the new connection.
        client->pendingRecords.fetch_sub (1);

        if (! client->stopped.load() && client->isOwnersClient())
            client->handleIncoming (bytes);
    }

    std::shared_ptr<RCClient> client;
    juce::MemoryBlock bytes;
};

void RCClient::releaseOnMessageThread (std::shared_ptr<RCClient> client)
{
    auto* holder = new std::shared_ptr<RCClient> (std::move (client));

    // When even this post fails the program is shutting down; the client is then left
    // alive rather than torn down from a thread that cannot stop itself.
    juce::MessageManager::callAsync ([holder] { delete holder; });
}

//==============================================================================
/** The receiving socket and its thread. It does what the framework's OSCReceiver does, except
    that each datagram is checked before the framework's decoder reads it (OscPacket::readMessage)
    and only messages come out: the framework's receiver hands every datagram to its decoder
    unchecked, and one datagram can crash it there (see OscPacket). */
class RCClient::Receiver : private juce::Thread
{
public:
    explicit Receiver (RCClient& clientToUse) : juce::Thread ("QUENTARO receiver"), client (clientToUse) {}

    ~Receiver() override { disconnect(); }

    /** Message thread. */
    bool connect (int port)
    {
        disconnect();
        auto newSocket = std::make_unique<juce::DatagramSocket> (false);

        if (! newSocket->bindToPort (port))
            return false;

        socket = std::move (newSocket);
        startThread();
        return true;
    }

    /** Message thread; waits for the receiver thread to end. */
    void disconnect()
    {
        if (socket == nullptr)
            return;

        signalThreadShouldExit();
        socket->shutdown();
        waitForThreadToExit (10000);
        socket = nullptr;
    }

private:
    void run() override
    {
        juce::HeapBlock<char> buffer (OscPacket::receiveBufferSize);

        while (! threadShouldExit())
        {
            const auto ready = socket->waitUntilReady (true, 100);

            if (ready < 0 || threadShouldExit())
                return;

            if (ready == 0)
                continue;

            const auto bytesRead = socket->read (buffer.getData(), (int) OscPacket::receiveBufferSize, false);

            if (bytesRead <= 0)
                continue;

            if (const auto message = OscPacket::readMessage (buffer.getData(), (size_t) bytesRead))
                client.oscMessageReceived (*message);
        }
    }

    RCClient& client;
    std::unique_ptr<juce::DatagramSocket> socket;
};

//==============================================================================
RCClient::RCClient (MainComponent& ownerToUse) : owner (ownerToUse), receiver (std::make_unique<Receiver> (*this))
{
    webBrowser = owner.show.getWebBrowser();
}

RCClient::~RCClient()
{
    // Message thread (the receiver thread never holds the last reference, see PostedRecord).
    // Setting stopped first makes a datagram arriving from now on be dropped on the receiver thread.
    if (! stopped.exchange (true))
    {
        stopTimer();
        closeSender();
        receiver->disconnect();
        receiverConnected = false;
        webBrowser = nullptr;
        connectionState = 0;
        pinPending = false;
        positionDragging = false;
    }
}

bool RCClient::connectReceiver()
{
    auto bound = receiver->connect (receivePort);
    receiverConnected = true;
    return bound;
}

bool RCClient::openSender (const juce::String& hostAddress)
{
    closeSender();
    senderOpen = sender.connect (hostAddress, hostPort);
    return senderOpen;
}

void RCClient::closeSender()
{
    sender.disconnect();
    senderOpen = false;
}

//==============================================================================
void RCClient::sendRaw (const void* data, size_t size)
{
    if (! senderOpen)
        return;

    auto bytes = MessageRecord::stampAddress (data, size, localAddress);

    juce::OSCMessage message { juce::OSCAddressPattern (address) };
    message.addBlob (std::move (bytes));
    sender.send (message);
}

void RCClient::sendRecord (const juce::ValueTree& record)
{
    auto bytes = MessageRecord::toBytes (record);
    sendRaw (bytes.getData(), bytes.getSize());
}

void RCClient::send (RCType type, std::initializer_list<MessageRecord::Property> properties)
{
    sendRecord (MessageRecord::build (type, properties));
}

void RCClient::sendHello()
{
    auto ip = localAddress.isNotEmpty() ? localAddress : juce::IPAddress::getLocalAddress().toString();
    send (RCType::Hello, { { MessageRecord::ip, ip }, { "DeviceName", MessageFormat::localDeviceName() } });
}

void RCClient::sendConnectRequest()
{
    send (RCType::ConnectRequest, { { MessageRecord::ip, localAddress } });
}
void RCClient::sendPlay()
{
    send (RCType::Play);
}
void RCClient::sendPause()
{
    send (RCType::Pause);
}
void RCClient::sendStop()
{
    send (RCType::Stop);
}
void RCClient::sendPlayNext()
{
    send (RCType::PlayNext);
}
void RCClient::sendPlayPrev()
{
    send (RCType::PlayPrev);
}
void RCClient::sendPosition (double position)
{
    send (RCType::SetPosition, { { "SetPos", MessageFormat::position (position) } });
}
void RCClient::sendNextCue (int index)
{
    send (RCType::SetNextCue, { { "ID", juce::String (index) } });
}
void RCClient::sendPing()
{
    send (RCType::Ping, { { "t", juce::String (lastPingTime) } });
}

//==============================================================================
void RCClient::timerCallback()
{
    if (stopped.load())
        return;

    if (! pinPending)
    {
        if (connectionState == 1)
        {
            if (registerTicks++ >= 19)
            {
                registerTicks = 0;
                sendConnectRequest();
            }
        }
        else if (connectionState == 0)
        {
            sendConnectRequest();
        }
        else
        {
            registerTicks = 0;
        }
    }

    if (pingTicks++ >= 9)
    {
        pingTicks = 0;

        if (! pinPending)
        {
            lastPingTime = juce::Time::getMillisecondCounter();
            sendPing();
        }
    }

    const auto now = clock();

    if (pinPending)
        return;

    // A host that stays silent on the show screen may come back as a new process that knows
    // neither this remote nor the show it had: asking to connect again makes it announce its
    // show (a host that still knows the remote answers with the show it has, which changes
    // nothing). In state 1 the regular two-second requests do that already.
    const auto askAgain = connectionState != 1;

    if ((juce::int64) livenessDeadline + 10 < now)
    {
        sendHello();

        if (askAgain)
            sendConnectRequest();

        owner.setRemoteStatus ("Connection failed - retrying...", red);
        owner.show.setLatency (-1);
    }
    else if (livenessDeadline < now)
    {
        sendHello();

        if (askAgain)
            sendConnectRequest();

        owner.setRemoteStatus ("Reconnecting...", amber);
        owner.show.setLatency (-1);

        if (! owner.show.isVisible())
            connectionState = 0;
    }
}

//==============================================================================
void RCClient::oscMessageReceived (const juce::OSCMessage& message)
{
    // Receiver thread: no parsing here, only a copy and a hand-over.
    if (stopped.load() || ! accepts (message))
        return;

    auto& blob = message[0].getBlob();
    auto self = weak_from_this().lock();

    if (self == nullptr)
        return;

    if (pendingRecords.fetch_add (1) >= maxPendingRecords)
    {
        pendingRecords.fetch_sub (1);
        return;
    }

    juce::MessageManager::callAsync (PostedRecord (std::move (self), blob));
}

bool RCClient::accepts (const juce::OSCMessage& message)
{
    static const juce::OSCAddress quentaro { address };

    return message.size() == 1 && message[0].isBlob() && message[0].getBlob().getSize() > 0
        && OscPacket::addressMatches (message.getAddressPattern(), quentaro);
}

void RCClient::handleIncoming (const juce::MemoryBlock& bytes)
{
    if (stopped.load())
        return;

    auto record = MessageRecord::fromBytes (bytes.getData(), bytes.getSize());

    if (! record.isValid())
        return;

    // A handler may end the connection (host disconnect); the client stays alive until it returns.
    auto self = weak_from_this().lock();
    const auto type = MessageRecord::integer (record, MessageRecord::rcType);

    switch (type)
    {
        case (int) RCType::PinRequired: handlePinRequired(); return;
        case (int) RCType::PinRejected: handlePinRejected(); return;
        case (int) RCType::HostDisconnect: handleHostDisconnect(); return;
        default: break;
    }

    refreshLiveness();

    switch (type)
    {
        case (int) RCType::ShowInfo: handleShowInfo (record); break;
        case (int) RCType::CueState: handleCueState (record); break;
        case (int) RCType::TransportState: handleTransportState (record); break;
        case (int) RCType::CueTable: handleCueTable (record); break;
        case (int) RCType::MarkerLoopState: handleMarkerLoopState (record); break;
        case (int) RCType::HotCueList: handleHotCueList (record); break;
        case (int) RCType::Pong: handlePong (record); break;
        default: break;
    }
}

bool RCClient::isOwnersClient() const
{
    return owner.getClient() == this;
}

void RCClient::refreshLiveness()
{
    livenessDeadline = clock() + 3;

    if (connectionState == 2)
        owner.setRemoteStatus ("Connected", green);
    else if (connectionState == 1)
        owner.setRemoteStatus ("Waiting for Show Session Load", green);
}

//==============================================================================
void RCClient::handlePinRequired()
{
    pinPending = true;
    livenessDeadline = clock() + 3;
    owner.awaitingPin = true;
    owner.setRemoteStatus ("PIN required", grey);

    owner.pinOverlay.setBounds (owner.getLocalBounds());
    owner.pinOverlay.showForHost();
    owner.pinOverlay.toFront (true);
}

void RCClient::handlePinRejected()
{
    livenessDeadline = clock() + 3;
    owner.pinOverlay.errorLabel.setText ("Incorrect PIN. Try again.", juce::dontSendNotification);
    owner.pinOverlay.pinEditor.grabKeyboardFocus();
    owner.pinOverlay.pinEditor.selectAll();
}

void RCClient::handleHostDisconnect()
{
    owner.awaitingPin = false;
    owner.pinOverlay.setVisible (false);

    owner.show.resetSession();

    owner.connectPanel.setVisible (true);
    owner.show.setVisible (false);
    owner.statusLabel.setVisible (true);

    owner.remote.reset(); // this client lives on until the running call returns
    owner.stopTimer (MainComponent::statusPollTimer);
    owner.setRemoteStatus ("Disconnected by host", red);
}

//==============================================================================
void RCClient::handleShowInfo (const juce::ValueTree& record)
{
    owner.awaitingPin = false;
    owner.pinOverlay.setVisible (false);
    pinPending = false;

    auto& show = owner.show;
    show.setHostName (MessageRecord::text (record, "HostName"));

    if (MessageRecord::text (record, "ShowID") == "-1")
    {
        connectionState = 1;
        show.setShowName ({});
        owner.setRemoteStatus ("Waiting for Show Session Load", green);
        return;
    }

    const auto newShowId = MessageRecord::integer (record, "ShowID");

    if (newShowId == show.showId)
        return;

    connectionState = 2;
    owner.setRemoteStatus ("Connected", green);

    const auto rows = juce::jlimit (0, maxRows, MessageRecord::integer (record, "Size"));
    std::vector<Show::Song> songs;
    songs.reserve ((size_t) rows);

    for (auto& child : MessageRecord::numberedChildren (record, "S", rows))
        songs.push_back ({ MessageRecord::integer (child, "SID"), MessageRecord::text (child, "SN") });

    show.loadShow (newShowId, MessageRecord::text (record, "ShowName"), std::move (songs));
}

void RCClient::handleCueState (const juce::ValueTree& record)
{
    if (! owner.show.isVisible())
        return;

    owner.show.applyCueState (MessageRecord::integer (record, "currentcue"),
        MessageRecord::integer (record, "nextcue"));
}

void RCClient::handleTransportState (const juce::ValueTree& record)
{
    auto& show = owner.show;

    if (! show.isVisible())
        return;

    const auto maxPosition = MessageRecord::integer (record, "maxpos");
    const auto position = MessageRecord::integer (record, "pos");

    if (! positionDragging)
    {
        // A range that is empty or reversed would leave the slider unusable: keep the last one.
        if (maxPosition > 0)
            show.positionSlider.setRange (0.0, (double) maxPosition, 0.0);

        show.positionSlider.setValue ((double) position, juce::sendNotificationAsync);
    }

    show.timeLabel.setText (MessageRecord::text (record, "time"), juce::dontSendNotification);

    if (webBrowser != nullptr)
        webBrowser->setTransportPosition (position);
}

void RCClient::handleCueTable (const juce::ValueTree& record)
{
    if (webBrowser != nullptr)
        webBrowser->setTableData (MessageRecord::text (record, "json"), MessageRecord::text (record, "currentcue"),
            MessageRecord::text (record, "nextcue"));
}

void RCClient::handleMarkerLoopState (const juce::ValueTree& record)
{
    if (webBrowser != nullptr)
        webBrowser->setCurrentMarkerLoop (MessageRecord::text (record, "songCue"),
            MessageRecord::text (record, "markerNum"), MessageRecord::text (record, "enabled"));
}

void RCClient::handleHotCueList (const juce::ValueTree& record)
{
    const auto count = juce::jlimit (0, maxRows, MessageRecord::integer (record, "Size"));
    std::vector<HotCue> cues;
    cues.reserve ((size_t) count);

    for (auto& child : MessageRecord::numberedChildren (record, "C", count))
        cues.push_back ({ MessageRecord::text (child, "cueName"), MessageRecord::text (child, "colourCode") });

    owner.show.hotCuePanel.setHotCues (std::move (cues));
}

void RCClient::handlePong (const juce::ValueTree& record)
{
    owner.show.setLatency (
        MessageFormat::latency (juce::Time::getMillisecondCounter(), MessageRecord::integer64 (record, "t")));
}
