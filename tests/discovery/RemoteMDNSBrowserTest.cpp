// The host browser: its list rules and its platform layer as plain code, then against a real
// avahi-daemon that scripts/with-avahi.sh runs in private namespaces (the CTest entry does).

#include "discovery/RemoteMDNSBrowser.h"
#include "AvahiPublisher.h"
#include "discovery/DnsSdAddressLookup.h"

#include "support/MessageLoop.h"
#include "support/Subprocess.h"
#include "support/TestNetwork.h"

#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <sys/resource.h>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace
{
/** Avahi's DNS-SD library warns on standard error at its first use unless this is set. */
class QuietDnsSd : public testing::Environment
{
public:
    void SetUp() override { setenv ("AVAHI_COMPAT_NOWARN", "1", 1); }
};

testing::Environment* const quietDnsSd = testing::AddGlobalTestEnvironment (new QuietDnsSd);

/** Follows a browser as the connect panel does: on every change message it takes a copy of
    the list. (Message thread.) */
class HostListWatcher : private juce::ChangeListener
{
public:
    explicit HostListWatcher (RemoteMDNSBrowser& browserToWatch) : browser (browserToWatch)
    {
        browser.addChangeListener (this);
    }

    ~HostListWatcher() override { browser.removeChangeListener (this); }

    /** The addresses the latest copy lists under the name, sorted. */
    juce::StringArray addressesOf (const juce::String& name) const
    {
        juce::StringArray addresses;

        for (auto& host : latest)
            if (host.serviceName == name)
                addresses.add (host.ipAddress);

        addresses.sort (false);
        return addresses;
    }

    bool lists (const juce::String& name) const { return ! addressesOf (name).isEmpty(); }

    int changes = 0;
    bool allOnMessageThread = true;
    juce::Array<DiscoveredHost> latest;

private:
    void changeListenerCallback (juce::ChangeBroadcaster*) override
    {
        allOnMessageThread = allOnMessageThread && juce::MessageManager::existsAndIsCurrentThread();
        latest = browser.getHosts();
        ++changes;
    }

    RemoteMDNSBrowser& browser;
};

/** "name @ address : port" for each host, in list order. */
juce::StringArray describe (const juce::Array<DiscoveredHost>& hosts)
{
    juce::StringArray lines;

    for (auto& host : hosts)
        lines.add (host.serviceName + " @ " + host.ipAddress + " : " + juce::String (host.port));

    return lines;
}

/** Points the DNS-SD library at a D-Bus system bus that does not exist, for as long as it
    lives: a process started meanwhile, or a browse begun, finds no DNS-SD daemon anywhere. */
class NoDnsSdDaemon
{
public:
    NoDnsSdDaemon()
    {
        if (auto* value = std::getenv (variable))
            previous = value;

        auto socket = juce::File::getSpecialLocation (juce::File::tempDirectory)
                          .getNonexistentChildFile ("quentaro-no-bus", ".socket");
        setenv (variable, ("unix:path=" + socket.getFullPathName()).toRawUTF8(), 1);
    }

    ~NoDnsSdDaemon()
    {
        if (previous)
            setenv (variable, previous->c_str(), 1);
        else
            unsetenv (variable);
    }

private:
    static constexpr const char* variable = "DBUS_SYSTEM_BUS_ADDRESS";
    std::optional<std::string> previous;
};

/** The host simulator, started with the given flags. */
std::unique_ptr<Subprocess> startSimulator (juce::StringArray flags)
{
    flags.insert (0, QUENTARO_HOST_SIM_PATH);
    return std::make_unique<Subprocess> (flags);
}

/** The next event line of this name from the simulator, parsed; void when none comes in time. */
juce::var simulatorEvent (Subprocess& simulator, const juce::String& name, juce::StringArray* skipped = nullptr,
    std::chrono::milliseconds timeout = 10s)
{
    auto line = simulator.waitForLineContaining ("\"event\": \"" + name + "\"", timeout, skipped);
    return line ? juce::JSON::parse (*line) : juce::var();
}
} // namespace

//==============================================================================
TEST (DnsSdAddressLookupTest, TakesOnlyFourByteRecordsAsIPv4Addresses)
{
    struct Case
    {
        std::vector<unsigned char> data;
        const char* text; // nullptr: not an IPv4 address
    };

    const Case cases[] = {
        { { 10, 211, 0, 1 }, "10.211.0.1" }, { { 192, 168, 178, 20 }, "192.168.178.20" }, { { 0, 0, 0, 0 }, "0.0.0.0" },
        { { 255, 255, 255, 255 }, "255.255.255.255" }, { {}, nullptr }, { { 10, 211, 0 }, nullptr },
        { { 10, 211, 0, 1, 0 }, nullptr }, { std::vector<unsigned char> (16, 0xfd), nullptr }, // an IPv6 address's size
    };

    for (auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.data.size() << " bytes, " << (c.text != nullptr ? c.text : "none"));

        sockaddr_in address;
        std::memset (&address, 0xab, sizeof (address));

        const auto taken = DnsSdAddressLookup::addressFromRecord (c.data.empty() ? nullptr : c.data.data(),
            (uint16_t) c.data.size(), address);

        ASSERT_EQ (taken, c.text != nullptr);

        if (taken)
        {
            EXPECT_EQ (address.sin_family, AF_INET);
            EXPECT_EQ (DnsSdAddressLookup::formatIPv4 (reinterpret_cast<const sockaddr*> (&address)),
                juce::String (c.text));
        }
    }
}

TEST (DnsSdAddressLookupTest, FormatsNoTextForMissingOrIPv6Addresses)
{
    EXPECT_EQ (DnsSdAddressLookup::formatIPv4 (nullptr), juce::String());

    sockaddr_in6 ipv6 {};
    ipv6.sin6_family = AF_INET6;
    ASSERT_EQ (inet_pton (AF_INET6, "fd11:211::5", &ipv6.sin6_addr), 1);

    EXPECT_EQ (DnsSdAddressLookup::formatIPv4 (reinterpret_cast<const sockaddr*> (&ipv6)), juce::String());
}

//==============================================================================
// The list as the address and browse replies change it (their add and remove steps).

TEST (RemoteMDNSBrowserListTest, KeepsOneEntryPerNameAndAddressAndSignalsEveryEvent)
{
    RemoteMDNSBrowser browser;
    HostListWatcher watcher (browser);

    struct Step
    {
        const char* what;
        std::function<void()> event;
        juce::StringArray expected;
    };

    const auto add = [&browser] (const char* name, const char* address) {
        return [&browser, name, address] { browser.addHost ({ name, address, RemoteMDNSBrowser::hostPort }); };
    };

    const auto remove = [&browser] (const char* name) { return [&browser, name] { browser.removeHostsNamed (name); }; };

    const Step steps[] = {
        { "first host", add ("Stage A", "10.211.0.5"), { "Stage A @ 10.211.0.5 : 9212" } },
        { "second host", add ("Stage B", "10.211.0.6"),
            { "Stage A @ 10.211.0.5 : 9212", "Stage B @ 10.211.0.6 : 9212" } },
        { "a second address of a name", add ("Stage A", "10.211.0.7"),
            { "Stage A @ 10.211.0.5 : 9212", "Stage B @ 10.211.0.6 : 9212", "Stage A @ 10.211.0.7 : 9212" } },
        { "the same name and address again", add ("Stage A", "10.211.0.5"),
            { "Stage A @ 10.211.0.5 : 9212", "Stage B @ 10.211.0.6 : 9212", "Stage A @ 10.211.0.7 : 9212" } },
        { "an address listed under another name", add ("Stage B", "10.211.0.5"),
            { "Stage A @ 10.211.0.5 : 9212", "Stage B @ 10.211.0.6 : 9212", "Stage A @ 10.211.0.7 : 9212",
                "Stage B @ 10.211.0.5 : 9212" } },
        { "a name with two addresses goes", remove ("Stage A"),
            { "Stage B @ 10.211.0.6 : 9212", "Stage B @ 10.211.0.5 : 9212" } },
        { "a name never listed goes", remove ("Stage C"),
            { "Stage B @ 10.211.0.6 : 9212", "Stage B @ 10.211.0.5 : 9212" } },
    };

    for (auto& step : steps)
    {
        SCOPED_TRACE (step.what);
        const auto before = watcher.changes;

        step.event();

        ASSERT_TRUE (MessageLoop::runUntil ([&] { return watcher.changes > before; })) << "no change message";
        EXPECT_EQ (describe (watcher.latest), step.expected);
        EXPECT_EQ (describe (browser.getHosts()), step.expected);
    }

    EXPECT_TRUE (watcher.allOnMessageThread);
}

TEST (RemoteMDNSBrowserListTest, StopEmptiesTheListSilentlyAndIsHarmlessWhenRepeated)
{
    RemoteMDNSBrowser browser;
    HostListWatcher watcher (browser);

    browser.stop(); // never started
    EXPECT_FALSE (browser.isBrowsing());
    EXPECT_TRUE (browser.getHosts().isEmpty());

    browser.addHost ({ "Stage A", "10.211.0.5", RemoteMDNSBrowser::hostPort });
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return watcher.changes == 1; }));

    browser.stop();
    browser.stop();

    EXPECT_TRUE (browser.getHosts().isEmpty());
    EXPECT_FALSE (browser.isBrowsing());

    // A change message would be delivered on the loop's next turns.
    MessageLoop::runFor (200ms);
    EXPECT_EQ (watcher.changes, 1);
}

TEST (RemoteMDNSBrowserListTest, WithoutADnsSdDaemonStartsNoThreadAndListsNothing)
{
    // In a process of its own: the D-Bus library keeps the first system bus address it reads,
    // so a browse here would spoil the later tests' browses (and theirs this one).
    GTEST_FLAG_SET (death_test_style, "threadsafe");

    EXPECT_EXIT (
        {
            const NoDnsSdDaemon noDaemon;
            RemoteMDNSBrowser browser;
            bool quiet = true;

            for (int attempt = 0; attempt < 2; ++attempt)
            {
                browser.start();
                quiet = quiet && ! browser.isBrowsing() && browser.getHosts().isEmpty();
            }

            browser.stop();
            quiet = quiet && ! browser.isBrowsing();

            if (! quiet)
                std::fprintf (stderr, "the browser started or listed a host without a daemon\n");

            std::exit (quiet ? 0 : 1);
        },
        testing::ExitedWithCode (0), "");
}

//==============================================================================
/** A browser and the daemon that scripts/with-avahi.sh runs; each test publishes its own names. */
class BrowserWithDaemonTest : public testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_PRIVATE_NETWORK();
        ASSERT_TRUE (AvahiPublisher::isDaemonAvailable())
            << "these tests need the DNS-SD daemon of scripts/with-avahi.sh (the CTest entry runs it)";

        daemonAddress = AvahiPublisher::daemonAddress();

        // Services of earlier tests would otherwise still come up in this test's browse.
        ASSERT_TRUE (AvahiPublisher::waitUntilNoneAnnounced()) << "earlier tests' services are still announced";
    }

    /** Waits for a condition on the watcher's copy of the list. */
    bool waitUntil (const std::function<bool()>& condition, std::chrono::milliseconds deadline = 10s)
    {
        return MessageLoop::runUntil (condition, deadline);
    }

    juce::String daemonAddress;
    RemoteMDNSBrowser browser;
    HostListWatcher watcher { browser };
};

TEST_F (BrowserWithDaemonTest, ListsEachHostUnderItsUtf8NameWithItsAddressAndPort)
{
    // Spaces, dots and backslashes come escaped in the resolve reply's full name; the list
    // shows the names as announced.
    const juce::StringArray names { juce::CharPointer_UTF8 ("B\xc3\xbchne \xe2\x80\x93 Main Stage "
                                                            "\xe0\xb9\x84\xe0\xb8\x97\xe0\xb8\xa2"),
        "Rack 2.1 (FOH)", "Back\\Stage" };

    browser.start();
    ASSERT_TRUE (browser.isBrowsing());

    std::vector<std::unique_ptr<AvahiPublisher>> publishers;

    for (auto& name : names)
        publishers.push_back (AvahiPublisher::service (name, 9212));

    ASSERT_TRUE (waitUntil (
        [&] { return std::all_of (names.begin(), names.end(), [&] (auto& name) { return watcher.lists (name); }); }))
        << describe (watcher.latest).joinIntoString ("\n");

    juce::StringArray expected;

    for (auto& name : names)
        expected.add (name + " @ " + daemonAddress + " : 9212");

    auto listed = describe (browser.getHosts());
    listed.sort (false);
    expected.sort (false);
    EXPECT_EQ (listed, expected);
    EXPECT_TRUE (watcher.allOnMessageThread);
}

TEST_F (BrowserWithDaemonTest, NeverListsServicesOffTheHostPortOrWithoutAnIPv4Address)
{
    browser.start();

    std::vector<std::unique_ptr<AvahiPublisher>> publishers;
    publishers.push_back (AvahiPublisher::service ("Port 9211", 9211));
    publishers.push_back (AvahiPublisher::service ("Port 9213", 9213));
    publishers.push_back (AvahiPublisher::address ("v6only.local", "fd11:211::5"));
    publishers.push_back (AvahiPublisher::service ("IPv6 Only", 9212, "v6only.local"));

    for (auto& publisher : publishers)
        ASSERT_TRUE (publisher->waitUntilEstablished());

    // The browser handles services one at a time, in the order they came up: once this one is
    // listed, those above have been handled (the IPv6 one only after its address lookup gave up).
    auto marker = AvahiPublisher::service ("Port 9212", 9212);
    ASSERT_TRUE (waitUntil ([&] { return watcher.lists ("Port 9212"); }, 20s));

    EXPECT_EQ (describe (browser.getHosts()), juce::StringArray { "Port 9212 @ " + daemonAddress + " : 9212" });
}

TEST_F (BrowserWithDaemonTest, AHostThatGoesAwayLeavesWithAllItsAddressesAndTheOthersStay)
{
    std::vector<std::unique_ptr<AvahiPublisher>> addresses;
    addresses.push_back (AvahiPublisher::address ("twin.local", "10.211.0.61"));
    addresses.push_back (AvahiPublisher::address ("twin.local", "10.211.0.62"));

    for (auto& address : addresses)
        ASSERT_TRUE (address->waitUntilEstablished());

    browser.start();
    auto twin = AvahiPublisher::service ("Twin Rack", 9212, "twin.local");
    auto mainStage = AvahiPublisher::service ("Main Stage", 9212);

    ASSERT_TRUE (
        waitUntil ([&] { return watcher.addressesOf ("Twin Rack").size() == 2 && watcher.lists ("Main Stage"); }))
        << describe (watcher.latest).joinIntoString ("\n");

    EXPECT_EQ (watcher.addressesOf ("Twin Rack"), (juce::StringArray { "10.211.0.61", "10.211.0.62" }));
    EXPECT_EQ (watcher.addressesOf ("Main Stage"), juce::StringArray { daemonAddress });

    twin->withdraw();

    ASSERT_TRUE (waitUntil ([&] { return ! watcher.lists ("Twin Rack"); }));
    EXPECT_EQ (describe (browser.getHosts()), juce::StringArray { "Main Stage @ " + daemonAddress + " : 9212" });
}

TEST_F (BrowserWithDaemonTest, StopReturnsPromptlyWhateverTheBrowserIsWaitingFor)
{
    // The host of this service never answers, so its address lookup waits until its time limit
    // (seconds) unless the stop ends it.
    auto ghost = AvahiPublisher::service ("Ghost Stage", 9212, "ghost.local");
    ASSERT_TRUE (ghost->waitUntilEstablished());

    // Moments of the stop after the start: before the first reply, around the browse and the
    // resolve, and well into the address lookup.
    for (auto moment : { 0ms, 20ms, 200ms, 1000ms, 2500ms })
    {
        SCOPED_TRACE (testing::Message() << "stop " << moment.count() << " ms after the start");

        RemoteMDNSBrowser ghostBrowser;
        ghostBrowser.start();
        ASSERT_TRUE (ghostBrowser.isBrowsing());

        // Not a wait for a result: this picks the moment of the stop.
        std::this_thread::sleep_for (moment);

        const auto stopStarted = std::chrono::steady_clock::now();
        ghostBrowser.stop();
        const auto stopTook =
            std::chrono::duration_cast<std::chrono::milliseconds> (std::chrono::steady_clock::now() - stopStarted);

        EXPECT_LT (stopTook.count(), 2000) << "stop took " << stopTook.count() << " ms";
        EXPECT_FALSE (ghostBrowser.isBrowsing());
        EXPECT_TRUE (ghostBrowser.getHosts().isEmpty());
    }
}

TEST_F (BrowserWithDaemonTest, FindsTheHostSimulatorByTheNameItAnnounces)
{
    const auto serviceName = juce::String (juce::CharPointer_UTF8 ("B\xc3\xbchne Sim \xe0\xb9\x84\xe0\xb8\x97"));

    browser.start();
    auto simulator = startSimulator ({ "--name", "Rehearsal Host", "--service-name", serviceName, "--no-show" });

    const auto announced = simulatorEvent (*simulator, "announced");
    ASSERT_TRUE (announced.isObject()) << "the simulator did not announce itself";
    EXPECT_EQ (announced["name"].toString(), serviceName);

    ASSERT_TRUE (waitUntil ([&] { return watcher.lists (serviceName); }));
    EXPECT_EQ (describe (browser.getHosts()), juce::StringArray { serviceName + " @ " + daemonAddress + " : 9212" });

    // Quitting withdraws the announcement.
    EXPECT_EQ (simulator->terminate (SIGTERM), 0);
    ASSERT_TRUE (waitUntil ([&] { return ! watcher.lists (serviceName); }));
}

TEST_F (BrowserWithDaemonTest, TheSimulatorAnnouncesItsHostNameByDefault)
{
    auto simulator = startSimulator ({ "--name", "Rehearsal Host", "--listen-port", "9300", "--no-show" });

    const auto announced = simulatorEvent (*simulator, "announced");
    ASSERT_TRUE (announced.isObject()) << "the simulator did not announce itself";
    EXPECT_EQ (announced["name"].toString(), "Rehearsal Host");
}

//==============================================================================
TEST (HostSimulatorAnnouncementTest, RunsOnWhenItCannotAnnounceAndSaysNothingWhenToldNotTo)
{
    REQUIRE_PRIVATE_NETWORK();
    const NoDnsSdDaemon noDaemon;

    struct Case
    {
        juce::StringArray flags;
        bool reportsFailure;
    };

    const Case cases[] = {
        { { "--no-show" }, true },
        { { "--no-show", "--no-announce" }, false },
    };

    for (auto& c : cases)
    {
        SCOPED_TRACE (c.flags.joinIntoString (" ").toStdString());

        auto simulator = startSimulator (c.flags);
        ASSERT_TRUE (simulatorEvent (*simulator, "listening").isObject());

        // Without a daemon the announcement fails at once, before the simulator reads its input:
        // the state it is asked for next comes after any announcement line.
        simulator->writeLine ("{\"cmd\": \"state\"}");

        juce::StringArray before;
        ASSERT_TRUE (simulatorEvent (*simulator, "state", &before).isObject()) << "the simulator stopped";

        EXPECT_EQ (before.joinIntoString ("\n").contains ("\"event\": \"announce-failed\""), c.reportsFailure)
            << before.joinIntoString ("\n");
        EXPECT_FALSE (before.joinIntoString ("\n").contains ("\"event\": \"announced\""));
        EXPECT_EQ (simulator->terminate (SIGTERM), 0);
    }
}

//==============================================================================
/** Runs only in its own CTest entry: it kills the daemon that the other tests need. */
TEST_F (BrowserWithDaemonTest, ADaemonKilledWhileBrowsingLeavesTheBrowserQuietAndStoppable)
{
    const auto daemonPid = juce::SystemStats::getEnvironmentVariable ("QUENTARO_AVAHI_PID", {}).getIntValue();

    if (juce::SystemStats::getEnvironmentVariable ("QUENTARO_KILL_AVAHI", {}) != "1" || daemonPid <= 0)
        GTEST_SKIP() << "kills the daemon: run by the test_browser_daemon_loss entry only";

    browser.start();
    auto publisher = AvahiPublisher::service ("Doomed Host", 9212);
    ASSERT_TRUE (waitUntil ([&] { return watcher.lists ("Doomed Host"); }));

    ASSERT_EQ (kill (daemonPid, SIGKILL), 0);

    // The browser notices (its socket closes), neither spins nor crashes, and the program's
    // message thread goes on: a second's CPU time of the whole process stays small.
    rusage before {}, after {};
    getrusage (RUSAGE_SELF, &before);
    MessageLoop::runFor (1s);
    getrusage (RUSAGE_SELF, &after);
    auto cpuMs = [] (const rusage& r)
    { return (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1000.0 + (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1000.0; };
    EXPECT_LT (cpuMs (after) - cpuMs (before), 300.0);

    // What was found stays listed until the operator leaves the panel; stopping and starting
    // again behave as without a daemon.
    EXPECT_TRUE (describe (browser.getHosts()).joinIntoString ("\n").contains ("Doomed Host"));
    const auto stopStarted = std::chrono::steady_clock::now();
    browser.stop();
    EXPECT_LT (std::chrono::steady_clock::now() - stopStarted, 2s);
    EXPECT_TRUE (browser.getHosts().isEmpty());

    browser.start();
    EXPECT_TRUE (browser.getHosts().isEmpty());
    browser.stop();
    EXPECT_FALSE (browser.isBrowsing());
}
