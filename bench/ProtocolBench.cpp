// Protocol latency figures, printed (never pass/fail):
//   receive: a host record arriving on the socket -> its handler's page statement issued
//   send:    a send operation -> the datagram read by a loopback listener
// each next to a raw UDP one-way trip of the same size on the same machine, in the same run.
// Runs only inside a private network namespace (make bench), since it binds the real ports.

#include "app/MainComponent.h"
#include "protocol/ConnectionStart.h"

#include <juce_events/juce_events.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <iostream>
#include <thread>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;

double micros (Clock::duration d)
{
    return std::chrono::duration<double, std::micro> (d).count();
}

void report (const char* name, std::vector<double> samples, double referenceMedian)
{
    std::sort (samples.begin(), samples.end());
    auto at = [&] (double q) { return samples[(size_t) (q * (double) (samples.size() - 1))]; };
    std::cout << name << ": n=" << samples.size() << " median=" << at (0.5) << " us p99=" << at (0.99) << " us";

    if (referenceMedian > 0)
        std::cout << " (median " << at (0.5) / referenceMedian << "x raw UDP)";

    std::cout << std::endl;
}

juce::MemoryBlock datagramOf (const juce::ValueTree& record)
{
    // The "/quentaro" envelope, written by hand so the host thread needs no OSC sender.
    auto bytes = MessageRecord::toBytes (record);
    juce::MemoryBlock datagram;
    datagram.append ("/quentaro\0\0\0,b\0\0", 16);
    auto size = juce::ByteOrder::swapIfLittleEndian ((juce::uint32) bytes.getSize());
    datagram.append (&size, 4);
    datagram.append (bytes.getData(), bytes.getSize());
    while (datagram.getSize() % 4 != 0)
        datagram.append ("\0", 1);
    return datagram;
}

/** One-way raw UDP trips of the given size between two loopback sockets. */
std::vector<double> rawUdp (size_t size, int count)
{
    juce::DatagramSocket receiver (false), sender (false);
    receiver.bindToPort (9300);
    std::vector<char> payload (size, 'x'), buffer (65536);
    std::vector<double> samples;

    for (int i = 0; i < count; ++i)
    {
        auto t0 = Clock::now();
        sender.write ("127.0.0.1", 9300, payload.data(), (int) payload.size());
        receiver.waitUntilReady (true, -1);
        receiver.read (buffer.data(), (int) buffer.size(), false);
        samples.push_back (micros (Clock::now() - t0));
    }

    return samples;
}
} // namespace

int main()
{
    Show::setWebViewsEnabled (false); // the figures are the protocol's, not the page's
    juce::JUCEApplicationBase::createInstance = []() -> juce::JUCEApplicationBase* { return nullptr; };
    juce::ScopedJuceInitialiser_GUI messageLoop;
    const int count = juce::SystemStats::getEnvironmentVariable ("QUENTARO_BENCH_COUNT", "10000").getIntValue();

    MainComponent main;
    std::vector<Clock::time_point> sent (count), issued (count);
    std::atomic<int> lastIssued { -1 };

    main.show.getBridge().setEvaluator (
        [&] (const juce::String& statement)
        {
            if (statement.startsWith ("setTransportPosition("))
            {
                auto seq = statement.fromFirstOccurrenceOf ("(", false, false).getIntValue();

                if (seq >= 0 && seq < count)
                {
                    issued[(size_t) seq] = Clock::now();
                    lastIssued = seq;
                }
            }
        });

    juce::DatagramSocket host (false);
    host.bindToPort (9212);
    ConnectionStart::run (main, "127.0.0.1", "bench");
    auto* client = main.getClient();
    client->stopTimer();
    main.stopTimer (MainComponent::statusPollTimer);
    main.show.setVisible (true);

    // Receive path: the host's records, one at a time, each timed from its send to its statement.
    auto sampleRecord = MessageRecord::build (RCType::TransportState,
        { { "maxpos", "900000" }, { "pos", "5000" }, { "time", "00:00:05:00" } });
    const auto recordSize = datagramOf (sampleRecord).getSize();

    std::thread hostThread (
        [&]
        {
            juce::DatagramSocket out (false);

            for (int seq = 0; seq < count; ++seq)
            {
                auto datagram = datagramOf (MessageRecord::build (RCType::TransportState,
                    { { "maxpos", "900000" }, { "pos", juce::String (seq) }, { "time", "00:00:05:00" } }));
                sent[(size_t) seq] = Clock::now();
                out.write ("127.0.0.1", 9211, datagram.getData(), (int) datagram.getSize());

                const auto deadline = Clock::now() + std::chrono::seconds (2);
                while (lastIssued.load() < seq && Clock::now() < deadline)
                    std::this_thread::yield();
            }

            juce::MessageManager::callAsync ([] { juce::MessageManager::getInstance()->stopDispatchLoop(); });
        });

    // The program's own blocking dispatch loop (the test helpers' timed loop sleeps 1 ms when idle).
    juce::MessageManager::getInstance()->runDispatchLoop();

    hostThread.join();

    std::vector<double> receive;
    for (int i = 0; i < count; ++i)
        if (issued[(size_t) i] > sent[(size_t) i])
            receive.push_back (micros (issued[(size_t) i] - sent[(size_t) i]));

    // Send path: a send operation to the datagram read on the host's port.
    std::vector<double> send;
    std::vector<char> buffer (65536);
    while (host.waitUntilReady (true, 0) == 1)
        host.read (buffer.data(), (int) buffer.size(), false);

    for (int i = 0; i < count; ++i)
    {
        auto t0 = Clock::now();
        client->sendNextCue (i);
        host.waitUntilReady (true, -1);
        host.read (buffer.data(), (int) buffer.size(), false);
        send.push_back (micros (Clock::now() - t0));
    }

    auto raw = rawUdp (recordSize, count);
    std::sort (raw.begin(), raw.end());
    const auto rawMedian = raw[raw.size() / 2];

    std::cout << "Protocol path, " << count << " messages each, datagrams of about " << recordSize << " bytes"
              << std::endl;
    report ("raw UDP one-way (reference)", raw, 0);
    report ("host record -> page statement", receive, rawMedian);
    report ("send operation -> datagram read", send, rawMedian);
    return 0;
}
