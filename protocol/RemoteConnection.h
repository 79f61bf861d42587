#pragma once

#include "RCClient.h"

class MainComponent;

/** The record that the main component's `remote` owns while a connection is made or held.
    Destroying it releases the client; the client's tear-down follows at once, or after the
    receive calls still queued for it have run (message thread). */
struct RemoteConnection
{
    MainComponent* owner = nullptr;
    std::shared_ptr<RCClient> client;
};
