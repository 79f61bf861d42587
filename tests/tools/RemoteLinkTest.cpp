#include "RemoteLink.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace
{
const RemoteLink::Clock::time_point start {};
}

TEST (RemoteLink, WithoutAPinEveryRemoteIsServed)
{
    RemoteLink link ({}, {});
    EXPECT_FALSE (link.mayReport (start));

    link.heard ("10.0.0.7");
    EXPECT_EQ (link.getAddress(), "10.0.0.7");
    EXPECT_TRUE (link.isPaired());
    EXPECT_TRUE (link.mayReport (start));

    // A record without "IP" does not lose the remote; a new one moves the target.
    link.heard ({});
    EXPECT_EQ (link.getAddress(), "10.0.0.7");
    link.heard ("10.0.0.8");
    EXPECT_EQ (link.getAddress(), "10.0.0.8");
}

TEST (RemoteLink, WithAPinOnlyThePairedAddressIsServed)
{
    RemoteLink link ("4321", {});
    link.heard ("10.0.0.7");
    EXPECT_FALSE (link.isPaired());
    EXPECT_TRUE (link.mayAnswerPairing (start));
    EXPECT_FALSE (link.mayReport (start));
    EXPECT_TRUE (link.mayPong (start));

    const std::pair<const char*, RemoteLink::PinResult> submissions[] = {
        { "", RemoteLink::PinResult::rejected },
        { "1234", RemoteLink::PinResult::rejected },
        { "43210", RemoteLink::PinResult::rejected },
        { " 4321\n", RemoteLink::PinResult::accepted },
    };

    for (auto& [pin, expected] : submissions)
        EXPECT_EQ (link.submitPin (pin), expected) << pin;

    EXPECT_TRUE (link.mayReport (start));

    // Another remote pairs on its own; the first stays paired when it comes back.
    link.heard ("10.0.0.8");
    EXPECT_FALSE (link.isPaired());
    link.heard ("10.0.0.7");
    EXPECT_TRUE (link.isPaired());

    link.forget();
    EXPECT_FALSE (link.knowsRemote());
    link.heard ("10.0.0.7");
    EXPECT_FALSE (link.isPaired());
}

TEST (RemoteLink, AFixedAddressWinsAndComesBackAfterAGoodbye)
{
    RemoteLink link ({}, "192.168.5.5");
    EXPECT_TRUE (link.knowsRemote());
    link.heard ("10.0.0.7");
    EXPECT_EQ (link.getAddress(), "192.168.5.5");

    link.forget();
    EXPECT_FALSE (link.knowsRemote());
    link.heard ({});
    EXPECT_EQ (link.getAddress(), "192.168.5.5");
}

TEST (RemoteLink, FaultsHoldBackWhatTheyShould)
{
    RemoteLink link ({}, {});
    link.heard ("10.0.0.7");

    link.silenceUntil (start + 1s);
    EXPECT_FALSE (link.mayPong (start + 999ms));
    EXPECT_FALSE (link.mayReport (start + 999ms));
    EXPECT_FALSE (link.silenceHasEnded (start + 999ms));
    EXPECT_TRUE (link.silenceHasEnded (start + 1s));
    EXPECT_FALSE (link.silenceHasEnded (start + 2s));
    EXPECT_TRUE (link.mayReport (start + 1s));

    link.setPongsOnly (true);
    EXPECT_TRUE (link.mayPong (start + 2s));
    EXPECT_FALSE (link.mayReport (start + 2s));
    EXPECT_FALSE (link.mayAnswerPairing (start + 2s));
}
