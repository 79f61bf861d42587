#include "CommandLine.h"
#include "ControlLine.h"

#include <gtest/gtest.h>

using Kind = ControlLine::Kind;

TEST (ControlLine, TakesEachLineOfTheInputLanguage)
{
    const std::pair<const char*, Kind> cases[] = {
        { "", Kind::nothing },
        { "   ", Kind::nothing },
        { R"({"RCType": 101, "props": {"currentcue": "1"}})", Kind::sendRecord },
        { R"({"rawHex": "00ff"})", Kind::sendRaw },
        { R"({"cmd": "silence", "seconds": 1})", Kind::silence },
        { R"({"cmd": "silence", "seconds": 0.5})", Kind::silence },
        { R"({"cmd": "pongs-only"})", Kind::pongsOnly },
        { R"({"cmd": "pongs-only", "on": false})", Kind::pongsOnly },
        { R"({"cmd": "load-show"})", Kind::loadShow },
        { R"({"cmd": "load-show", "file": "/tmp/a.json"})", Kind::loadShow },
        { R"({"cmd": "unload-show"})", Kind::unloadShow },
        { R"({"cmd": "switch-show"})", Kind::switchShow },
        { R"({"cmd": "disconnect"})", Kind::disconnect },
        { R"({"cmd": "state"})", Kind::state },
        { "not json", Kind::invalid },
        { "[1]", Kind::invalid },
        { R"({"props": {}})", Kind::invalid },
        { R"({"cmd": "explode"})", Kind::invalid },
        { R"({"cmd": "silence"})", Kind::invalid },
        { R"({"cmd": "silence", "seconds": -1})", Kind::invalid },
        { R"({"cmd": "silence", "seconds": "1"})", Kind::invalid },
        { R"({"cmd": "pongs-only", "on": "yes"})", Kind::invalid },
        { R"({"cmd": "load-show", "file": ""})", Kind::invalid },
    };

    for (auto& [text, kind] : cases)
    {
        auto line = ControlLine::parse (text);
        EXPECT_EQ ((int) line.kind, (int) kind) << text;
        EXPECT_EQ (line.error.isNotEmpty(), kind == Kind::invalid) << text;
    }

    EXPECT_EQ (ControlLine::parse (R"({"cmd": "silence", "seconds": 0.5})").seconds, 0.5);
    EXPECT_FALSE (ControlLine::parse (R"({"cmd": "pongs-only", "on": false})").on);
    EXPECT_TRUE (ControlLine::parse (R"({"cmd": "pongs-only"})").on);
    EXPECT_EQ (ControlLine::parse (R"({"cmd": "load-show", "file": "/tmp/a.json"})").file, "/tmp/a.json");
    EXPECT_EQ (ControlLine::parse (R"({"rawHex": "00ff"})").raw.getSize(), 2u);
}

TEST (CommandLine, TakesEveryFlag)
{
    auto parsed = CommandLine::parse (
        { "--listen-port", "19212", "--remote", "10.0.0.9", "--remote-port", "19211", "--name", "Front of House",
            "--pin", "0042", "--pongs-only", "--silent-for", "2.5", "--refresh-ms", "0", "--no-announce" });

    ASSERT_EQ (parsed.error, "");
    auto& options = parsed.options;
    EXPECT_EQ (options.listenPort, 19212);
    EXPECT_EQ (options.fixedRemoteAddress, "10.0.0.9");
    EXPECT_EQ (options.remotePort, 19211);
    EXPECT_EQ (options.hostName, "Front of House");
    EXPECT_EQ (options.pin, "0042");
    EXPECT_TRUE (options.pongsOnly);
    EXPECT_EQ (options.silentForSeconds, 2.5);
    EXPECT_EQ (options.refreshMs, 0);
    EXPECT_FALSE (parsed.announce);
    EXPECT_FALSE (parsed.showHelp);
    ASSERT_TRUE (options.show.has_value());
    EXPECT_EQ (options.show->name, BuiltInShows::mainShow().name);

    auto defaults = CommandLine::parse ({});
    EXPECT_EQ (defaults.error, "");
    EXPECT_EQ (defaults.options.listenPort, 9212);
    EXPECT_EQ (defaults.options.remotePort, 9211);
    EXPECT_EQ (defaults.options.hostName, "QUENTARO Sim");
    EXPECT_TRUE (defaults.options.pin.isEmpty());
    EXPECT_TRUE (defaults.announce);

    EXPECT_FALSE (CommandLine::parse ({ "--no-show" }).options.show.has_value());
    EXPECT_TRUE (CommandLine::parse ({ "--help" }).showHelp);
}

TEST (CommandLine, RefusesWhatItCannotStartWith)
{
    const std::pair<juce::StringArray, const char*> cases[] = {
        { { "--pin", "123" }, "--pin needs four digits" },
        { { "--pin", "12a4" }, "--pin needs four digits" },
        { { "--pin" }, "--pin needs a value" },
        { { "--listen-port", "0" }, "--listen-port needs a whole number" },
        { { "--listen-port", "70000" }, "--listen-port needs a whole number" },
        { { "--remote-port", "x" }, "--remote-port needs a whole number" },
        { { "--silent-for", "-1" }, "--silent-for needs a number of seconds" },
        { { "--refresh-ms", "1.5" }, "--refresh-ms needs a whole number" },
        { { "--show", "/no/such/show.json" }, "/no/such/show.json" },
        { { "--show", "a.json", "--no-show" }, "exclude each other" },
        { { "--verbose" }, "unknown option --verbose" },
    };

    for (auto& [arguments, reason] : cases)
    {
        auto error = CommandLine::parse (arguments).error;
        EXPECT_TRUE (error.contains (reason)) << arguments.joinIntoString (" ") << " gave: " << error;
    }
}

TEST (CommandLine, HelpNamesEveryFlagAndControlLine)
{
    auto help = CommandLine::helpText();

    for (auto* item :
        { "--listen-port", "--remote ", "--remote-port", "--name", "--show", "--no-show", "--pin", "--pongs-only",
            "--silent-for", "--refresh-ms", "--no-announce", "--help", "\"silence\"", "\"pongs-only\"", "\"load-show\"",
            "\"unload-show\"", "\"switch-show\"", "\"disconnect\"", "\"state\"", "\"rawHex\"", "\"RCType\"" })
        EXPECT_TRUE (help.contains (item)) << item;
}
