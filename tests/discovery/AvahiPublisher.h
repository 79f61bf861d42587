#pragma once

#include "support/Subprocess.h"
#include "support/TestNetwork.h"

#include <chrono>
#include <csignal>
#include <memory>
#include <thread>

/**
    One avahi-publish process announcing a service, or an address record of a host, through
    the private avahi-daemon that scripts/with-avahi.sh starts for the browser's tests. The
    announcement is withdrawn when the publisher ends: on withdraw() or when destroyed.
*/
class AvahiPublisher
{
public:
    static constexpr const char* serviceType = "_quentaroremote._udp";

    /** True inside scripts/with-avahi.sh: a private network with its own DNS-SD daemon. */
    static bool isDaemonAvailable()
    {
        return TestNetwork::isPrivate()
            && juce::SystemStats::getEnvironmentVariable ("QUENTARO_AVAHI_DAEMON", {}) == "1";
    }

    /** The address of the daemon's interface, where the services it publishes are found. */
    static juce::String daemonAddress()
    {
        return juce::SystemStats::getEnvironmentVariable ("QUENTARO_AVAHI_ADDRESS", {});
    }

    /** Waits until the daemon knows no service of the host type any more, in its cache
        either: a withdrawn service lingers there for about a second, and a browse begun
        meanwhile would still report it. */
    static bool waitUntilNoneAnnounced (std::chrono::milliseconds timeout = std::chrono::seconds (10))
    {
        const auto end = std::chrono::steady_clock::now() + timeout;

        while (std::chrono::steady_clock::now() < end)
        {
            // -t: list what is known now and quit; -p: one line a service, "+;..." for each.
            Subprocess browse ({ "/bin/sh", "-c", "exec \"$0\" -p -t -k \"$1\" 2>&1", browseProgram(), serviceType });
            bool anyListed = false;

            while (auto line = browse.readLine (std::chrono::seconds (5)))
                anyListed = anyListed || line->startsWith ("+;");

            if (browse.waitForExit (std::chrono::seconds (5)) == 0 && ! anyListed)
                return true;

            std::this_thread::sleep_for (std::chrono::milliseconds (100));
        }

        return false;
    }

    /** A service of the host type; on the daemon's own host unless another host is named. */
    static std::unique_ptr<AvahiPublisher> service (const juce::String& name, int port,
        const juce::String& hostName = {})
    {
        juce::StringArray arguments { "-s" };

        if (hostName.isNotEmpty())
            arguments.addArray (juce::StringArray { "-H", hostName });

        arguments.addArray (juce::StringArray { name, serviceType, juce::String (port) });
        return std::unique_ptr<AvahiPublisher> (new AvahiPublisher (arguments));
    }

    /** An A (or AAAA) record of a host, without its reverse record, so that several
        publishers may give one host several addresses. */
    static std::unique_ptr<AvahiPublisher> address (const juce::String& hostName, const juce::String& ipAddress)
    {
        return std::unique_ptr<AvahiPublisher> (new AvahiPublisher ({ "-a", "-R", hostName, ipAddress }));
    }

    ~AvahiPublisher() { withdraw(); }

    /** Waits until the daemon has taken the announcement on. */
    bool waitUntilEstablished (std::chrono::milliseconds timeout = std::chrono::seconds (10))
    {
        return established || (established = process.waitForLineContaining ("Established", timeout).has_value());
    }

    /** Ends the publisher, which withdraws its announcement. */
    void withdraw() { process.terminate (SIGTERM); }

private:
    explicit AvahiPublisher (const juce::StringArray& arguments) : process (commandLine (arguments)) {}

    // Through a shell only to see avahi-publish's messages, which it writes to standard error;
    // the arguments pass as they are, unquoted.
    static juce::StringArray commandLine (const juce::StringArray& arguments)
    {
        juce::StringArray line { "/bin/sh", "-c", "exec \"$0\" \"$@\" 2>&1", publishProgram() };
        line.addArray (arguments);
        return line;
    }

    static juce::String publishProgram()
    {
        return juce::SystemStats::getEnvironmentVariable ("QUENTARO_AVAHI_PUBLISH", "/usr/bin/avahi-publish");
    }

    static juce::String browseProgram()
    {
        return juce::SystemStats::getEnvironmentVariable ("QUENTARO_AVAHI_BROWSE", "/usr/bin/avahi-browse");
    }

    Subprocess process;
    bool established = false;
};
