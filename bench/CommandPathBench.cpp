#include "CommandPathBench.h"

#include "BenchFigures.h"
#include "BenchLoop.h"
#include "ConnectedScreen.h"

#include <iostream>

namespace
{
using Clock = std::chrono::steady_clock;

double microsSince (Clock::time_point t0)
{
    return std::chrono::duration<double, std::micro> (Clock::now() - t0).count();
}

/** Lets the program handle what the last command left behind (repaints), as between two real
    key presses, so each sample starts from an idle loop. */
void settle()
{
    BenchLoop::runFor (std::chrono::milliseconds (2));
}

/** A left button going down or up through the window's peer at the centre of a component, as
    the X event handler delivers it. Returns false without a peer. */
bool mouseThroughPeer (juce::Component& target, bool down)
{
    auto* peer = target.getPeer();

    if (peer == nullptr)
        return false;

    const auto centre = peer->globalToLocal (target.getScreenBounds().getCentre().toFloat());
    const auto buttons = down ? juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier) : juce::ModifierKeys();
    peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, centre, buttons,
        juce::MouseInputSource::defaultPressure, 0.0f, juce::Time::currentTimeMillis());
    return true;
}
} // namespace

void CommandPathBench::run()
{
    const int count = BenchFigures::environmentCount ("QUENTARO_BENCH_COMMANDS", 1000);
    std::cout << "Command path on the connected show screen (" << count
              << " each; datagram read by the host's listener on 127.0.0.1:9212):" << std::endl;

    ConnectedScreen screen;

    if (! screen.connect (16))
        return;

    auto& main = screen.main();
    auto& host = *screen.host;
    auto& panel = main.show.controlPanel;

    // The keys go through the window's peer to whatever has the keyboard focus, as typed keys
    // do; the main component takes the focus the way the page hands it back.
    main.grabKeyboardFocus();
    BenchLoop::runFor (std::chrono::milliseconds (100));
    auto* peer = main.getPeer();
    auto* focused = juce::Component::getCurrentlyFocusedComponent();
    const bool throughPeer = peer != nullptr && focused != nullptr && (focused == &main || main.isParentOf (focused));

    struct Key
    {
        const char* name;
        juce::KeyPress press;
        RCType sends;
    };

    const Key keys[] = { { "space (Stop)", juce::KeyPress (juce::KeyPress::spaceKey), RCType::Stop },
        { "comma (Play)", juce::KeyPress::createFromDescription (","), RCType::Play } };

    std::vector<std::pair<std::string, std::vector<double>>> results;
    size_t datagramSize = 0;

    for (auto& key : keys)
    {
        std::vector<double> samples;

        for (int i = 0; i < count; ++i)
        {
            const auto t0 = Clock::now();

            if (throughPeer)
                peer->handleKeyPress (key.press);
            else
                main.keyPressed (key.press, &main);

            if (const auto size = host.waitForRecord (key.sends, 1000); size > 0)
            {
                samples.push_back (microsSince (t0));
                datagramSize = size;
            }

            settle();
        }

        results.emplace_back (std::string ("key ") + key.name
                + (throughPeer ? " via the window's peer" : " via keyPressed") + " -> datagram",
            std::move (samples));
    }

    std::vector<double> presses;

    // A synthesized mouse click through the peer. The button fires when it is released, so the
    // command's path starts at the release: the press is handled (and painted) before it, as
    // with a person's click, whose button stays down for tens of milliseconds.
    {
        std::vector<double> samples;

        for (int i = 0; i < count; ++i)
        {
            const auto pressed = Clock::now();

            if (! mouseThroughPeer (panel.stopButton, true))
                break;

            presses.push_back (microsSince (pressed));

            settle();
            const auto t0 = Clock::now();
            mouseThroughPeer (panel.stopButton, false);

            if (host.waitForRecord (RCType::Stop, 1000) > 0)
                samples.push_back (microsSince (t0));

            settle();
        }

        results.emplace_back ("Stop button, mouse release via the peer -> datagram", std::move (samples));
    }

    // Button::triggerClick posts the click to the message loop, which then runs onClick.
    {
        std::vector<double> samples;

        for (int i = 0; i < count; ++i)
        {
            const auto t0 = Clock::now();
            panel.playButton.triggerClick();
            BenchLoop::runUntil ([&] { return host.hasDatagram(); }, std::chrono::seconds (1));

            if (host.waitForRecord (RCType::Play, 1000) > 0)
                samples.push_back (microsSince (t0));

            settle();
        }

        results.emplace_back ("Play button, triggerClick (posted) -> datagram", std::move (samples));
    }

    const auto raw = BenchFigures::summarise (BenchHost::rawUdpTrips (datagramSize > 0 ? datagramSize : 64, count));
    std::cout << "  (datagrams of " << datagramSize << " bytes; reference: raw UDP send+receive of that size)"
              << std::endl;

    const auto press = BenchFigures::summarise (presses);
    std::cout << "  (the Stop button's press, handled before its release: median " << press.median << " us, p99 "
              << press.p99 << " us)" << std::endl;

    for (auto& [name, samples] : results)
    {
        const auto figures = BenchFigures::summarise (samples);
        BenchFigures::printLine (name, figures, "us", "raw UDP", raw, "p99 < 1000 us", figures.p99 < 1000.0);
    }
}
