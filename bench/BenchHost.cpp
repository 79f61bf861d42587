#include "BenchHost.h"

#include <chrono>
#include <cstring>

namespace
{
constexpr int hostPort = 9212;
constexpr int programPort = 9211;
constexpr int referencePort = 9300;
constexpr size_t blobOffset = 20; // "/quentaro\0\0\0" ",b\0\0" and the blob's size
} // namespace

BenchHost::BenchHost()
{
    bound = socket.bindToPort (hostPort);
}

void BenchHost::send (const juce::ValueTree& record)
{
    auto datagram = datagramOf (record);
    socket.write ("127.0.0.1", programPort, datagram.getData(), (int) datagram.getSize());
}

size_t BenchHost::waitForRecord (RCType type, int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    for (;;)
    {
        const auto now = juce::Time::getMillisecondCounter();

        if (now >= end || socket.waitUntilReady (true, (int) (end - now)) != 1)
            return 0;

        const auto size = socket.read (buffer.data(), (int) buffer.size(), false);

        if (size > 0 && MessageRecord::integer (recordOf (buffer.data(), (size_t) size), "RCType") == (int) type)
            return (size_t) size;
    }
}

void BenchHost::drain()
{
    while (socket.waitUntilReady (true, 0) == 1)
        socket.read (buffer.data(), (int) buffer.size(), false);
}

bool BenchHost::hasDatagram()
{
    return socket.waitUntilReady (true, 0) == 1;
}

juce::MemoryBlock BenchHost::datagramOf (const juce::ValueTree& record)
{
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

juce::ValueTree BenchHost::recordOf (const char* data, size_t size)
{
    if (size < blobOffset || std::memcmp (data, "/quentaro\0\0\0,b\0\0", 16) != 0)
        return {};

    juce::uint32 blobSize = 0;
    std::memcpy (&blobSize, data + 16, 4);
    blobSize = juce::ByteOrder::swapIfLittleEndian (blobSize);

    if (blobSize > size - blobOffset)
        return {};

    return MessageRecord::fromBytes (data + blobOffset, blobSize);
}

std::vector<double> BenchHost::rawUdpTrips (size_t size, int count)
{
    juce::DatagramSocket receiver (false), sender (false);
    receiver.bindToPort (referencePort);
    std::vector<char> payload (size, 'x'), incoming (65536);
    std::vector<double> samples;

    for (int i = 0; i < count; ++i)
    {
        const auto t0 = std::chrono::steady_clock::now();
        sender.write ("127.0.0.1", referencePort, payload.data(), (int) payload.size());
        receiver.waitUntilReady (true, -1);
        receiver.read (incoming.data(), (int) incoming.size(), false);
        samples.push_back (std::chrono::duration<double, std::micro> (std::chrono::steady_clock::now() - t0).count());
    }

    return samples;
}
