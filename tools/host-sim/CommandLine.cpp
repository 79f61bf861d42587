#include "CommandLine.h"

#include <cmath>

namespace
{
/** Walks the arguments, taking values after the flags that need one. */
class Arguments
{
public:
    Arguments (const juce::StringArray& argumentsToRead, juce::String& errorToSet)
        : arguments (argumentsToRead), error (errorToSet)
    {}

    bool done() const { return next >= arguments.size() || error.isNotEmpty(); }
    juce::String take() { return arguments[next++]; }

    juce::String value (const juce::String& flag)
    {
        if (next >= arguments.size())
        {
            fail (flag + " needs a value");
            return {};
        }

        return take();
    }

    int integer (const juce::String& flag, int minimum, int maximum)
    {
        auto text = value (flag);

        if (error.isEmpty()
            && (! text.containsOnly ("0123456789") || text.isEmpty() || text.length() > 9
                || text.getIntValue() < minimum || text.getIntValue() > maximum))
            fail (flag + " needs a whole number from " + juce::String (minimum) + " to " + juce::String (maximum));

        return text.getIntValue();
    }

    double seconds (const juce::String& flag)
    {
        auto text = value (flag);
        auto number = text.getDoubleValue();

        if (error.isEmpty() && (! text.containsOnly ("0123456789.") || text.isEmpty() || ! std::isfinite (number)))
            fail (flag + " needs a number of seconds");

        return number;
    }

    void fail (const juce::String& reason)
    {
        if (error.isEmpty())
            error = reason;
    }

private:
    const juce::StringArray& arguments;
    juce::String& error;
    int next = 0;
};
} // namespace

CommandLine CommandLine::parse (const juce::StringArray& arguments)
{
    CommandLine result;
    auto& options = result.options;
    Arguments args (arguments, result.error);
    juce::String showFile;
    bool noShow = false;

    while (! args.done())
    {
        auto flag = args.take();

        if (flag == "--help" || flag == "-h")
            result.showHelp = true;
        else if (flag == "--listen-port")
            options.listenPort = args.integer (flag, 1, 65535);
        else if (flag == "--remote-port")
            options.remotePort = args.integer (flag, 1, 65535);
        else if (flag == "--remote")
            options.fixedRemoteAddress = args.value (flag);
        else if (flag == "--name")
            options.hostName = args.value (flag);
        else if (flag == "--show")
            showFile = args.value (flag);
        else if (flag == "--no-show")
            noShow = true;
        else if (flag == "--pin")
        {
            options.pin = args.value (flag);

            // The remote's PIN field takes four characters; a host asking for more could
            // never be paired.
            if (options.pin.length() != 4 || ! options.pin.containsOnly ("0123456789"))
                args.fail ("--pin needs four digits");
        }
        else if (flag == "--pongs-only")
            options.pongsOnly = true;
        else if (flag == "--silent-for")
            options.silentForSeconds = args.seconds (flag);
        else if (flag == "--refresh-ms")
            options.refreshMs = args.integer (flag, 0, 3600000);
        else if (flag == "--no-announce")
            result.announce = false;
        else if (flag == "--service-name")
        {
            result.serviceName = args.value (flag);

            // A DNS-SD service instance name is one label: 1 to 63 bytes of UTF-8.
            const auto bytes = result.serviceName.getNumBytesAsUTF8();

            if (bytes < 1 || bytes > 63)
                args.fail ("--service-name needs 1 to 63 bytes of UTF-8");
        }
        else
            args.fail ("unknown option " + flag);
    }

    if (result.error.isNotEmpty() || result.showHelp)
        return result;

    if (noShow && showFile.isNotEmpty())
    {
        result.error = "--show and --no-show exclude each other";
        return result;
    }

    if (noShow)
        options.show.reset();
    else if (showFile.isNotEmpty())
        options.show = HostSimulator::readShowFile (showFile, result.error);

    return result;
}

juce::String CommandLine::helpText()
{
    return R"(usage: quentaro-host-sim [options]

A stand-in for the QUENTARO host: it listens for the remote on UDP, pairs it, plays a show
and reports what plays. Every record received is printed on standard output as one JSON line
({"RCType": N, "props": {...}, "children": [...]}); notable events are printed as
{"event": "...", ...} lines, the first always {"event": "listening", "port": N}. It announces
itself by DNS-SD as a service of type "_quentaroremote._udp" on its listening port and reports
{"event": "announced", "name": ...} with the name the service got, or
{"event": "announce-failed"} (no DNS-SD daemon, for instance), and runs on either way. It runs
until SIGINT or SIGTERM, and then sends HostDisconnect to the remote it knows and withdraws the
announcement.

Options:
  --listen-port N    UDP port for the remote's records (default 9212)
  --remote ADDRESS   always send to this address (default: the last "IP" the remote announced)
  --remote-port N    the remote's UDP port (default 9211)
  --name NAME        host name sent in the show information (default "QUENTARO Sim")
  --show FILE        load this show document (a JSON array of songs) instead of the built-in show;
                     positions are milliseconds, a song may add "length" (ms) and "id"
  --no-show          start without a show: the show information says ShowID -1
  --pin NNNN         ask remotes for this four-digit PIN before serving them
  --pongs-only       start answering pings only
  --silent-for N     start silent for N seconds: send and answer nothing
  --refresh-ms N     repeat the cue state (and the transport when not playing) every N ms to
                     the paired remote (default 1000; 0: never)
  --service-name NAME
                     the DNS-SD service name the host announces (default: the --name)
  --no-announce      do not announce the host by DNS-SD
  --help, -h         print this text

Positions ("pos", "maxpos", "SetPos", marker and tempo positions) are milliseconds of the
song; "time" is HH:MM:SS:FF at 30 frames per second. While a song plays the transport is
sent 10 times a second.

Standard input, one JSON object a line:
  {"RCType": N, "props": {...}, "children": [...]}
                          send this record to the remote as it is (even during a fault)
  {"rawHex": "..."}       send these bytes as the "/quentaro" blob
  {"cmd": "silence", "seconds": N}
                          send and answer nothing for N seconds; records are still printed
                          but not acted on, and the song plays on
  {"cmd": "pongs-only", "on": true|false}
                          answer pings only; commands are still carried out
  {"cmd": "load-show"}    load the built-in show and announce it
  {"cmd": "load-show", "file": PATH}
                          load a show document and announce it
  {"cmd": "unload-show"}  drop the show and announce ShowID -1
  {"cmd": "switch-show"}  switch to the other built-in show (new ShowID and name) and announce it
  {"cmd": "disconnect"}   send HostDisconnect and forget the remote (and its pairing)
  {"cmd": "state"}        print {"event": "state", ...}: transport, cues, position, loop, show,
                          remote, pairing and faults

Events: listening, announced, announce-failed, show-loaded, show-unloaded, pin-required, pin-accepted, pin-rejected,
unpaired, fault-started, fault-ended, song-ended, hot-cue, media-missing, goodbye, no-remote,
bad-input, ignored, not-a-record, state.
)";
}
