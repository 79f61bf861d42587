#include "ConnectionStart.h"

#include "../app/MainComponent.h"
#include "LocalAddress.h"

void ConnectionStart::run (MainComponent& main, const juce::String& ipAddress, const juce::String& hostName)
{
    // The previous record, and with it the previous client, goes first.
    main.remote = std::make_unique<RemoteConnection>();
    main.remote->owner = &main;

    auto client = std::make_shared<RCClient> (main);
    main.remote->client = client;

    client->webBrowser = main.show.getWebBrowser();
    client->stopTimer();
    client->closeSender();

    if (! client->receiverConnected)
        client->connectReceiver();

    client->stopped = false;

    client->localAddress = LocalAddress::choose (ipAddress, LocalAddress::interfaces());
    client->pinPending = false;
    client->registerTicks = 0;
    client->connectionState = 0;
    client->webBrowser = main.show.getWebBrowser();

    if (client->openSender (ipAddress))
    {
        client->sendHello();
        client->sendConnectRequest();
        client->startTimer (RCClient::tickInterval);
    }

    main.hostAddress = ipAddress;
    main.show.connectAddress = ipAddress;
    main.show.connectName = hostName;
    main.show.hostName.clear();
    main.show.showName.clear();
    main.show.updateHeaderText();

    main.setRemoteStatus ("Connecting...", juce::Colour (0xffa1a1aa));
    main.show.setLatency (-1);
    main.startTimer (MainComponent::statusPollTimer, MainComponent::statusPollInterval);
}
