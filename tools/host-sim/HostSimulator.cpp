#include "HostSimulator.h"

#include "HostRecords.h"
#include "RecordJson.h"
#include "protocol/MessageRecord.h"

namespace
{
juce::var eventObject (const juce::String& name, std::initializer_list<std::pair<const char*, juce::var>> values)
{
    auto* object = new juce::DynamicObject();
    object->setProperty ("event", name);

    for (auto& [key, value] : values)
        object->setProperty (key, value);

    return juce::var (object);
}

juce::String oneLine (const juce::var& value)
{
    return juce::JSON::toString (value, juce::JSON::FormatOptions {}.withSpacing (juce::JSON::Spacing::singleLine));
}
} // namespace

HostSimulator::HostSimulator (Options optionsToUse, LineSink sinkToUse)
    : options (std::move (optionsToUse)), sink (std::move (sinkToUse)), link (options.pin, options.fixedRemoteAddress)
{}

HostSimulator::~HostSimulator()
{
    {
        std::lock_guard<std::mutex> guard (clockLock);
        clockStopping = true;
    }

    clockWake.notify_all();

    if (clock.joinable())
        clock.join();

    disconnect();
    removeListener (this);
    sender.disconnect();
}

std::optional<ShowDocument> HostSimulator::readShowFile (const juce::String& path, juce::String& error)
{
    auto show = ShowDocument::fromFile (juce::File::getCurrentWorkingDirectory().getChildFile (path), error);

    if (show)
        show->hotCues = BuiltInShows::fileShowHotCues();

    return show;
}

bool HostSimulator::start()
{
    addListener (this);

    if (! sender.connect (options.fixedRemoteAddress.isNotEmpty() ? options.fixedRemoteAddress : "127.0.0.1",
            options.remotePort))
        return false;

    {
        // Loaded before the port opens, so that the first record already finds the show.
        std::lock_guard<std::mutex> guard (lock);

        if (options.show)
        {
            player.loadShow (*options.show, ++lastShowId);
            options.show.reset();
        }
    }

    if (! connect (options.listenPort))
        return false;

    emit ("{\"event\": \"listening\", \"port\": " + juce::String (options.listenPort) + "}");

    {
        std::lock_guard<std::mutex> guard (lock);
        auto now = Clock::now();

        if (player.hasShow())
            emitEvent ("show-loaded",
                { { "showId", player.getShowId() }, { "showName", player.getShow()->name },
                    { "songs", player.getShow()->size() } });

        if (options.pongsOnly)
        {
            link.setPongsOnly (true);
            emitEvent ("fault-started", { { "fault", "pongs-only" } });
        }

        if (options.silentForSeconds > 0.0)
        {
            silence (options.silentForSeconds, now);
        }

        lastTick = lastRefresh = now;
    }

    clock = std::thread ([this] { runClock(); });
    return true;
}

juce::String HostSimulator::getRemoteAddress() const
{
    std::lock_guard<std::mutex> guard (lock);
    return link.getAddress();
}

//==============================================================================
bool HostSimulator::sendBytesLocked (const juce::MemoryBlock& bytes)
{
    auto target = link.getAddress();

    if (target.isEmpty())
        return false;

    juce::OSCMessage message { juce::OSCAddressPattern ("/quentaro") };
    message.addBlob (bytes);
    return sender.sendToIPAddress (target, options.remotePort, message);
}

bool HostSimulator::sendLocked (const juce::ValueTree& record)
{
    return sendBytesLocked (MessageRecord::toBytes (record));
}

bool HostSimulator::sendBlob (const juce::MemoryBlock& bytes)
{
    std::lock_guard<std::mutex> guard (lock);
    return sendBytesLocked (bytes);
}

bool HostSimulator::send (const juce::ValueTree& record)
{
    std::lock_guard<std::mutex> guard (lock);
    return sendLocked (record);
}

//==============================================================================
void HostSimulator::oscMessageReceived (const juce::OSCMessage& message)
{
    // Receiver thread.
    if (message.getAddressPattern().toString() != "/quentaro" || message.size() != 1 || ! message[0].isBlob())
    {
        emit ("{\"event\": \"ignored\"}");
        return;
    }

    auto& blob = message[0].getBlob();
    auto record = MessageRecord::fromBytes (blob.getData(), blob.getSize());

    if (! record.isValid())
    {
        emit ("{\"event\": \"not-a-record\", \"bytes\": " + juce::String ((int) blob.getSize()) + "}");
        return;
    }

    std::lock_guard<std::mutex> guard (lock);
    emit (RecordJson::toJson (record));
    handleRecord (record);
}

void HostSimulator::oscBundleReceived (const juce::OSCBundle&)
{
    emit ("{\"event\": \"ignored\"}");
}

void HostSimulator::handleRecord (const juce::ValueTree& record)
{
    auto now = Clock::now();
    link.heard (MessageRecord::text (record, MessageRecord::ip));

    // A silent host has, as far as the remote can tell, vanished: it neither answers nor acts.
    if (link.isSilent (now))
        return;

    auto type = static_cast<RCType> (MessageRecord::integer (record, MessageRecord::rcType));

    switch (type)
    {
        case RCType::Ping:
            if (link.mayPong (now))
                sendLocked (MessageRecord::build (RCType::Pong, { { "t", MessageRecord::text (record, "t") } }));
            return;

        case RCType::ConnectRequest:
            if (link.isPaired())
            {
                announce (now);
            }
            else if (link.mayAnswerPairing (now))
            {
                sendLocked (MessageRecord::build (RCType::PinRequired));
                emitEvent ("pin-required", { { "remote", link.getAddress() } });
            }
            return;

        case RCType::SubmitPin:
            if (link.submitPin (MessageRecord::text (record, "Pin")) == RemoteLink::PinResult::accepted)
            {
                emitEvent ("pin-accepted", { { "remote", link.getAddress() } });
                announce (now);
            }
            else
            {
                emitEvent ("pin-rejected", { { "remote", link.getAddress() } });

                if (link.mayAnswerPairing (now))
                    sendLocked (MessageRecord::build (RCType::PinRejected));
            }
            return;

        case RCType::Play:
        case RCType::Pause:
        case RCType::Stop:
        case RCType::PlayNext:
        case RCType::PlayPrev:
        case RCType::SetPosition:
        case RCType::SetNextCue:
        case RCType::FireMarker:
        case RCType::SetMarkerLoop:
        case RCType::FireCue:
        case RCType::FireHotCue:
            if (! link.isPaired())
                emitEvent ("unpaired", { { "RCType", (int) type }, { "remote", link.getAddress() } });
            else
                carryOut (type, record, now);
            return;

        // Hello needs no answer; the host's own kinds coming back are not commands.
        default: return;
    }
}

void HostSimulator::carryOut (RCType type, const juce::ValueTree& record, Clock::time_point now)
{
    if (! player.hasShow())
        return;

    auto number = [&record] (const char* name) { return MessageRecord::integer (record, name); };

    switch (type)
    {
        case RCType::Play: player.play(); break;
        case RCType::Pause: player.pause(); break;
        case RCType::Stop: player.stop(); break;
        case RCType::PlayNext: player.playNext(); break;
        case RCType::PlayPrev: player.playPrevious(); break;
        case RCType::SetPosition: player.setPosition (MessageRecord::text (record, "SetPos").getDoubleValue()); break;
        case RCType::SetNextCue: player.setNextCue (number ("ID")); break;
        case RCType::FireMarker: player.fireMarker (number ("songCue"), number ("markerNum")); break;
        case RCType::SetMarkerLoop:
            player.setMarkerLoop (number ("songCue"), number ("markerNum"), number ("enabled") != 0);
            break;
        case RCType::FireCue: player.fireCue (number ("cue")); break;
        case RCType::FireHotCue:
        {
            auto name = MessageRecord::text (record, "cueName");
            emitEvent ("hot-cue", { { "cueName", name }, { "known", player.fireHotCue (name) } });
            break;
        }
        default: return;
    }

    auto refused = player.takeMissingMediaRefusal();

    if (refused >= 0)
        emitEvent ("media-missing", { { "cue", refused } });

    // Every command is confirmed with the state it leaves, changed or not, so that a remote
    // that moved ahead on its own (a next cue chosen locally) is put right.
    if (! link.mayReport (now))
        return;

    sendLocked (HostRecords::cueState (player));
    sendLocked (HostRecords::transportState (player));

    if (type == RCType::SetMarkerLoop)
        sendLocked (HostRecords::markerLoopState (player));
}

void HostSimulator::announce (Clock::time_point now)
{
    if (! link.mayReport (now))
        return;

    for (auto& record : HostRecords::announcement (options.hostName, player))
        sendLocked (record);

    lastRefresh = now;
}

void HostSimulator::goodbye (Clock::time_point now, bool forget)
{
    if (! link.knowsRemote())
    {
        emitEvent ("no-remote");
        return;
    }

    auto remote = link.getAddress();
    auto sent = ! link.isSilent (now) && sendLocked (MessageRecord::build (RCType::HostDisconnect));

    if (forget)
        link.forget();

    emitEvent ("goodbye", { { "remote", remote }, { "sent", sent } });
}

void HostSimulator::sayGoodbye()
{
    std::lock_guard<std::mutex> guard (lock);
    goodbye (Clock::now(), false);
}

//==============================================================================
bool HostSimulator::handleCommandLine (const juce::String& text)
{
    auto line = ControlLine::parse (text);

    switch (line.kind)
    {
        case ControlLine::Kind::nothing: return true;

        case ControlLine::Kind::invalid: emitEvent ("bad-input", { { "reason", line.error } }); return false;

        case ControlLine::Kind::sendRecord:
        case ControlLine::Kind::sendRaw:
        {
            auto sent = line.kind == ControlLine::Kind::sendRecord ? send (line.record) : sendBlob (line.raw);

            if (! sent)
                emitEvent ("no-remote");

            return sent;
        }

        case ControlLine::Kind::silence:
        case ControlLine::Kind::pongsOnly:
        case ControlLine::Kind::loadShow:
        case ControlLine::Kind::unloadShow:
        case ControlLine::Kind::switchShow:
        case ControlLine::Kind::disconnect:
        case ControlLine::Kind::state: break;
    }

    std::lock_guard<std::mutex> guard (lock);
    runCommand (line);
    return true;
}

void HostSimulator::runCommand (const ControlLine& line)
{
    auto now = Clock::now();

    switch (line.kind)
    {
        case ControlLine::Kind::silence: silence (line.seconds, now); break;

        case ControlLine::Kind::pongsOnly:
            link.setPongsOnly (line.on);
            emitEvent (line.on ? "fault-started" : "fault-ended", { { "fault", "pongs-only" } });
            break;

        case ControlLine::Kind::loadShow:
        {
            if (line.file.isEmpty())
            {
                loadShow (BuiltInShows::mainShow(), false);
                break;
            }

            juce::String error;

            if (auto show = readShowFile (line.file, error))
                loadShow (std::move (*show), false);
            else
                emitEvent ("bad-input", { { "reason", error } });

            break;
        }

        case ControlLine::Kind::unloadShow:
            player.unloadShow();
            secondShowLoaded = false;
            emitEvent ("show-unloaded");
            announce (now);
            break;

        case ControlLine::Kind::switchShow:
            if (secondShowLoaded)
                loadShow (BuiltInShows::mainShow(), false);
            else
                loadShow (BuiltInShows::secondShow(), true);
            break;

        case ControlLine::Kind::disconnect: goodbye (now, true); break;

        case ControlLine::Kind::state: emitState(); break;

        case ControlLine::Kind::nothing:
        case ControlLine::Kind::invalid:
        case ControlLine::Kind::sendRecord:
        case ControlLine::Kind::sendRaw: break;
    }
}

void HostSimulator::silence (double seconds, Clock::time_point now)
{
    // A year is silence enough, and keeps the end inside the clock's range.
    auto capped = std::min (seconds, 365.0 * 24 * 3600);
    link.silenceUntil (now + std::chrono::microseconds ((juce::int64) (capped * 1.0e6)));
    emitEvent ("fault-started", { { "fault", "silence" }, { "seconds", seconds } });
}

void HostSimulator::loadShow (ShowDocument show, bool isSecondShow)
{
    // Every load is a new show to the remote, which ignores a show identifier it already has.
    player.loadShow (std::move (show), ++lastShowId);
    secondShowLoaded = isSecondShow;

    emitEvent ("show-loaded",
        { { "showId", player.getShowId() }, { "showName", player.getShow()->name },
            { "songs", player.getShow()->size() } });

    announce (Clock::now());
}

void HostSimulator::emitState()
{
    auto& loop = player.getLoop();
    auto* loopObject = new juce::DynamicObject();
    loopObject->setProperty ("songCue", loop.songCue);
    loopObject->setProperty ("markerNum", loop.markerNum);
    loopObject->setProperty ("enabled", loop.enabled);

    auto now = Clock::now();

    emitEvent ("state",
        { { "transport", PlayerState::transportName (player.getTransport()) }, { "currentCue", player.getCurrentCue() },
            { "nextCue", player.getNextCue() }, { "position", player.getPositionMs() },
            { "maxpos", player.getMaxPositionMs() }, { "time", PlayerState::formatTime (player.getPositionMs()) },
            { "loop", juce::var (loopObject) }, { "showId", player.getShowId() },
            { "showName", player.hasShow() ? player.getShow()->name : juce::String() }, { "remote", link.getAddress() },
            { "pinRequired", link.requiresPin() }, { "paired", link.knowsRemote() && link.isPaired() },
            { "silent", link.isSilent (now) }, { "pongsOnly", link.isPongsOnly() } });
}

//==============================================================================
void HostSimulator::runClock()
{
    // Clock thread.
    std::unique_lock<std::mutex> clockGuard (clockLock);

    while (! clockStopping)
    {
        clockWake.wait_for (clockGuard, std::chrono::milliseconds (std::max (1, options.transportIntervalMs)));

        if (clockStopping)
            break;

        std::lock_guard<std::mutex> guard (lock);
        tick();
    }
}

void HostSimulator::tick()
{
    auto now = Clock::now();

    // Whole milliseconds go to the player; the rest carries over, so the position keeps pace
    // with the clock however the ticks fall.
    carriedMicroseconds += std::chrono::duration_cast<std::chrono::microseconds> (now - lastTick).count();
    lastTick = now;
    auto elapsedMs = carriedMicroseconds / 1000;
    carriedMicroseconds %= 1000;

    auto playedCue = player.getCurrentCue();
    auto advanced = player.advance (elapsedMs);

    if (link.silenceHasEnded (now))
        emitEvent ("fault-ended", { { "fault", "silence" } });

    if (advanced.ended)
        emitEvent ("song-ended", { { "cue", playedCue } });

    if (! player.hasShow() || ! link.mayReport (now))
        return;

    auto playing = player.getTransport() == PlayerState::Transport::playing;

    if (playing || advanced.ended)
        sendLocked (HostRecords::transportState (player));

    if (advanced.ended)
        sendLocked (HostRecords::cueState (player));

    if (options.refreshMs > 0 && now - lastRefresh >= std::chrono::milliseconds (options.refreshMs))
    {
        lastRefresh = now;
        sendLocked (HostRecords::cueState (player));

        if (! playing)
            sendLocked (HostRecords::transportState (player));
    }
}

//==============================================================================
void HostSimulator::emit (const juce::String& line)
{
    std::lock_guard<std::mutex> guard (outputLock);

    if (sink)
        sink (line);
}

void HostSimulator::emitEvent (const juce::String& name,
    std::initializer_list<std::pair<const char*, juce::var>> values)
{
    emit (oneLine (eventObject (name, values)));
}
