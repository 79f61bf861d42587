#pragma once

#include <juce_core/juce_core.h>

/** Network tests bind the program's real ports, so they run only inside the private network
    namespace that the test command creates; anywhere else they refuse to send anything. */
struct TestNetwork
{
    static bool isPrivate()
    {
        if (juce::SystemStats::getEnvironmentVariable ("QUENTARO_TEST_NETNS", {}) != "1")
            return false;

        for (auto& address : juce::IPAddress::getAllAddresses (false))
            if (! address.toString().startsWith ("127.") && ! address.toString().startsWith ("10.211."))
                return false;

        return true;
    }
};

#define REQUIRE_PRIVATE_NETWORK()                                                 \
    if (! TestNetwork::isPrivate())                                               \
    GTEST_FAIL() << "network tests run only inside the test command's namespace " \
                    "(make test or scripts/run-tests.sh)"
