// A flood of valid and malformed datagrams at the remote's port while it shows a connected
// show: it stays up, its memory stays bounded, and the show screen answers again at once.

#include "ClientSimulatorFixture.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iostream>
#include <thread>

namespace
{
/** The process's resident memory in KiB. */
long residentKiB()
{
    std::ifstream status ("/proc/self/status");
    std::string line;

    while (std::getline (status, line))
        if (line.rfind ("VmRSS:", 0) == 0)
            return std::stol (line.substr (6));

    return 0;
}

/** "/quentaro" with one blob, encoded by hand so that any bytes can go inside. */
std::vector<char> envelope (const void* blob, size_t size)
{
    static const char header[] = "/quentaro\0\0\0,b\0\0";
    std::vector<char> datagram (16 + 4 + ((size + 3) & ~(size_t) 3), 0);
    std::memcpy (datagram.data(), header, 16);

    for (int i = 0; i < 4; ++i)
        datagram[(size_t) (16 + i)] = (char) ((size >> (8 * (3 - i))) & 0xff);

    if (size > 0)
        std::memcpy (datagram.data() + 20, blob, size);

    return datagram;
}

/** The mix a careless or hostile network sends: records the client handles, records that
    lie about their sizes, datagrams that are not OSC, and large ones. */
std::vector<std::vector<char>> floodMix()
{
    std::vector<std::vector<char>> mix;
    juce::Random random (99);

    for (int cue = 0; cue < 8; ++cue)
    {
        auto state = MessageRecord::toBytes (MessageRecord::build (RCType::CueState,
            { { "currentcue", juce::String (cue) }, { "nextcue", juce::String (cue + 1) } }));
        mix.push_back (envelope (state.getData(), state.getSize()));

        auto transport = MessageRecord::toBytes (MessageRecord::build (RCType::TransportState,
            { { "maxpos", "100000" }, { "pos", juce::String (cue * 1000) }, { "time", "00:00:01:00" } }));
        mix.push_back (envelope (transport.getData(), transport.getSize()));
    }

    // A show record claiming a million rows, a record cut short, and random blobs.
    auto huge =
        MessageRecord::toBytes (MessageRecord::build (RCType::ShowInfo, { { "ShowID", "9" }, { "Size", "1000000" } }));
    mix.push_back (envelope (huge.getData(), huge.getSize()));
    mix.push_back (envelope (huge.getData(), huge.getSize() / 2));

    for (int i = 0; i < 8; ++i)
    {
        std::vector<char> junk ((size_t) (1 + random.nextInt (i == 0 ? 60000 : 400)));

        for (auto& c : junk)
            c = (char) random.nextInt (256);

        mix.push_back (envelope (junk.data(), junk.size()));
        mix.push_back (junk);
    }

    return mix;
}
} // namespace

TEST_F (ClientSimulator, AFloodOfDatagramsLeavesTheShowScreenWorkingWithBoundedMemory)
{
    REQUIRE_PRIVATE_NETWORK();
    start ({ "--refresh-ms", "0" });
    ASSERT_TRUE (waitFor ([this] { return main.show.isVisible(); }));

    const auto mix = floodMix();
    const auto baseline = residentKiB();
    std::atomic<bool> flooding { true };
    std::atomic<long> sent { 0 };

    // 20,000 datagrams a second for 10 seconds, in 1 ms batches of 20.
    std::thread sender (
        [&]
        {
            const auto fd = socket (AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
            sockaddr_in remote {};
            remote.sin_family = AF_INET;
            remote.sin_port = htons (RCClient::receivePort);
            remote.sin_addr.s_addr = htonl (INADDR_LOOPBACK);
            auto next = std::chrono::steady_clock::now();
            const auto end = next + std::chrono::seconds (10);
            size_t index = 0;

            while (next < end)
            {
                for (int i = 0; i < 20; ++i, index = (index + 1) % mix.size())
                    if (sendto (fd, mix[index].data(), mix[index].size(), 0, reinterpret_cast<sockaddr*> (&remote),
                            sizeof (remote))
                        > 0)
                        ++sent;

                next += std::chrono::milliseconds (1);
                std::this_thread::sleep_until (next);
            }

            close (fd);
            flooding = false;
        });

    // The message thread goes on meanwhile: its timers still ping the host.
    long peak = baseline;
    int pingsDuringFlood = 0;

    while (flooding)
    {
        MessageLoop::runFor (std::chrono::milliseconds (50));
        peak = std::max (peak, residentKiB());

        while (auto line = simulator->readLine (std::chrono::milliseconds (0)))
            if (line->contains ("\"RCType\": 14"))
                ++pingsDuringFlood;
    }

    sender.join();

    // Afterwards a key press goes to the host and its answer reaches the cards.
    const auto recoveryStarted = std::chrono::steady_clock::now();
    main.getClient()->sendNextCue (5);
    ASSERT_TRUE (
        waitFor ([this] { return main.show.nextCue == 5 && main.show.nextCueCard.getValue().startsWith ("5 - "); },
            std::chrono::seconds (5)));
    const auto recoveryMs =
        std::chrono::duration<double, std::milli> (std::chrono::steady_clock::now() - recoveryStarted).count();

    std::cout << "[ figures  ] flood: " << sent.load() << " datagrams in 10 s, resident memory " << baseline / 1024
              << " MiB before, peak " << peak / 1024 << " MiB (+" << (peak - baseline) / 1024 << " MiB), "
              << pingsDuringFlood << " pings sent during the flood, answer on screen " << recoveryMs
              << " ms after the flood\n";

    EXPECT_GE (sent.load(), 150000);
    EXPECT_GE (pingsDuringFlood, 5);
    EXPECT_LT (peak - baseline, 64 * 1024) << "memory grew with the flood";
    EXPECT_TRUE (main.show.isVisible());
    EXPECT_EQ (main.show.statusText, "Connected");
}
