#pragma once

#include <juce_core/juce_core.h>

#include <chrono>
#include <optional>
#include <sys/types.h>

/** A child process with pipes to its standard input and output, for tests that drive the
    host simulator or the program. Lines are read without blocking the caller for long. */
class Subprocess
{
public:
    explicit Subprocess (const juce::StringArray& arguments);
    ~Subprocess();

    bool isRunning();
    pid_t getPid() const noexcept { return pid; }

    /** Writes one line to the child's standard input. */
    bool writeLine (const juce::String& line);
    void closeInput();

    /** The next line of output, or nothing when none arrives within the time-out. */
    std::optional<juce::String> readLine (std::chrono::milliseconds timeout);

    /** Waits for a line containing the text, collecting the lines passed on the way. */
    std::optional<juce::String> waitForLineContaining (const juce::String& text, std::chrono::milliseconds timeout,
        juce::StringArray* skipped = nullptr);

    /** Sends a signal and waits for the exit; returns the exit code (or 128 + signal). */
    int terminate (int signal, std::chrono::milliseconds timeout = std::chrono::seconds (5));

    /** Waits for the child to exit by itself; -1 when it does not within the time-out. */
    int waitForExit (std::chrono::milliseconds timeout);

private:
    pid_t pid = -1;
    int inputFd = -1;
    int outputFd = -1;
    std::string pending;
    int exitCode = -1;
};
