#include "Subprocess.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

Subprocess::Subprocess (const juce::StringArray& arguments)
{
    int toChild[2], fromChild[2];

    if (pipe2 (toChild, O_CLOEXEC) != 0 || pipe2 (fromChild, O_CLOEXEC) != 0)
        return;

    std::vector<std::string> storage;
    for (auto& a : arguments)
        storage.push_back (a.toStdString());

    std::vector<char*> argv;
    for (auto& s : storage)
        argv.push_back (s.data());
    argv.push_back (nullptr);

    const auto parent = getpid();
    pid = fork();

    if (pid == 0)
    {
        // The child goes when the test goes, even when the test crashes: a program left
        // running would hold the test runner's output open and stall the whole run.
        prctl (PR_SET_PDEATHSIG, SIGKILL);

        if (getppid() != parent)
            _exit (127);

        dup2 (toChild[0], 0);
        dup2 (fromChild[1], 1);
        execve (argv[0], argv.data(), environ);
        _exit (127);
    }

    close (toChild[0]);
    close (fromChild[1]);
    inputFd = toChild[1];
    outputFd = fromChild[0];
    signal (SIGPIPE, SIG_IGN);
}

Subprocess::~Subprocess()
{
    if (isRunning())
        terminate (SIGKILL);

    closeInput();

    if (outputFd >= 0)
        close (outputFd);
}

bool Subprocess::isRunning()
{
    if (pid <= 0 || exitCode >= 0)
        return false;

    int status = 0;

    if (waitpid (pid, &status, WNOHANG) == pid)
    {
        exitCode = WIFEXITED (status) ? WEXITSTATUS (status) : 128 + WTERMSIG (status);
        return false;
    }

    return true;
}

bool Subprocess::writeLine (const juce::String& line)
{
    if (inputFd < 0)
        return false;

    auto text = line.toStdString() + "\n";
    return write (inputFd, text.data(), text.size()) == (ssize_t) text.size();
}

void Subprocess::closeInput()
{
    if (inputFd >= 0)
        close (inputFd);

    inputFd = -1;
}

std::optional<juce::String> Subprocess::readLine (std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;

    for (;;)
    {
        auto newline = pending.find ('\n');

        if (newline != std::string::npos)
        {
            auto line = pending.substr (0, newline);
            pending.erase (0, newline + 1);
            return juce::String::fromUTF8 (line.c_str());
        }

        auto left = std::chrono::duration_cast<std::chrono::milliseconds> (end - std::chrono::steady_clock::now());

        if (outputFd < 0)
            return std::nullopt;

        // Even with no time left, whatever is already in the pipe is taken.
        pollfd p { outputFd, POLLIN, 0 };

        if (poll (&p, 1, (int) std::max<std::chrono::milliseconds::rep> (0, left.count())) <= 0)
        {
            if (left.count() <= 0)
                return std::nullopt;

            continue;
        }

        char buffer[4096];
        auto n = read (outputFd, buffer, sizeof (buffer));

        if (n <= 0)
            return std::nullopt;

        pending.append (buffer, (size_t) n);
    }
}

std::optional<juce::String> Subprocess::waitForLineContaining (const juce::String& text,
    std::chrono::milliseconds timeout, juce::StringArray* skipped)
{
    const auto end = std::chrono::steady_clock::now() + timeout;

    for (;;)
    {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds> (end - std::chrono::steady_clock::now());

        if (left.count() <= 0)
            return std::nullopt;

        auto line = readLine (left);

        if (! line)
            return std::nullopt;

        if (line->contains (text))
            return line;

        if (skipped != nullptr)
            skipped->add (*line);
    }
}

int Subprocess::waitForExit (std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;

    while (isRunning())
    {
        if (std::chrono::steady_clock::now() >= end)
            return -1;

        std::this_thread::sleep_for (std::chrono::milliseconds (5));
    }

    return exitCode;
}

int Subprocess::terminate (int signalNumber, std::chrono::milliseconds timeout)
{
    if (isRunning())
        kill (pid, signalNumber);

    auto code = waitForExit (timeout);

    if (code < 0 && isRunning())
    {
        kill (pid, SIGKILL);
        code = waitForExit (std::chrono::seconds (5));
    }

    return code;
}
