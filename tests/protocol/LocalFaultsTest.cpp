// What the remote's own machine can do wrong: its port taken by another program, no network
// but loopback, a host address with no route.

#include "ClientSimulatorFixture.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
/** Another program holding a UDP port the plain way (no address reuse). */
class PortSquatter
{
public:
    explicit PortSquatter (int port)
    {
        // Close-on-exec, or the simulator started later would inherit the port and keep it.
        fd = socket (AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_port = htons ((uint16_t) port);
        address.sin_addr.s_addr = htonl (INADDR_ANY);
        bound = fd >= 0 && bind (fd, reinterpret_cast<sockaddr*> (&address), sizeof (address)) == 0;
    }

    ~PortSquatter() { release(); }

    void release()
    {
        if (fd >= 0)
            close (fd);

        fd = -1;
    }

    bool isBound() const noexcept { return bound; }

    /** Whether a datagram arrived for the port's rightful owner. */
    bool received (int timeoutMs)
    {
        timeval timeout { 0, timeoutMs * 1000 };
        setsockopt (fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof (timeout));
        char buffer[2048];
        return recv (fd, buffer, sizeof (buffer), 0) > 0;
    }

private:
    int fd = -1;
    bool bound = false;
};
} // namespace

TEST_F (ClientSimulator, WithItsPortTakenTheRemoteRetriesQuietlyAndConnectsOnceItIsFree)
{
    REQUIRE_PRIVATE_NETWORK();
    PortSquatter squatter (RCClient::receivePort);
    ASSERT_TRUE (squatter.isBound());

    start ({ "--refresh-ms", "0" });

    // The host hears the remote and answers, but its answers reach the other program.
    ASSERT_TRUE (squatter.received (5000));
    ASSERT_TRUE (waitFor ([this] { return statusIs ("Host not found - retrying"); }));
    ASSERT_TRUE (waitFor ([this] { return statusIs ("Connection failed - retrying..."); }));
    EXPECT_FALSE (main.show.isVisible());
    EXPECT_EQ (main.getClient()->connectionState, 0);

    // The other program ends; connecting again binds the port and the show comes up.
    squatter.release();
    main.disconnectRemote();
    ConnectionStart::run (main, "127.0.0.1", "Sim");
    ASSERT_TRUE (waitFor ([this] { return main.show.isVisible(); }));
    EXPECT_EQ (main.show.statusText, "Connected");
}

TEST_F (ClientSimulator, AHostWithoutARouteLeavesTheRemoteRetryingAndResponsive)
{
    REQUIRE_PRIVATE_NETWORK();

    // Only loopback exists here: every send to this address fails at once.
    main.show.getBridge().setEvaluator ([this] (const juce::String& s) { statements.add (s); });
    ConnectionStart::run (main, "10.99.0.1", "Nowhere");
    ASSERT_NE (main.getClient(), nullptr);
    EXPECT_EQ (main.getClient()->localAddress, "127.0.0.1");

    // Both status texts take turns, which needs both timers to keep running.
    ASSERT_TRUE (waitFor ([this] { return statusIs ("Connection failed - retrying..."); }));
    ASSERT_TRUE (waitFor ([this] { return statusIs ("Host not found - retrying"); }));
    ASSERT_TRUE (waitFor ([this] { return statusIs ("Connection failed - retrying..."); }));
    EXPECT_TRUE (main.connectPanel.isVisible());

    // The operator gives up and picks the right host.
    launchSimulator ({ "--refresh-ms", "0" });
    main.disconnectRemote();
    ConnectionStart::run (main, "127.0.0.1", "Sim");
    ASSERT_TRUE (waitFor ([this] { return main.show.isVisible(); }));
}
