#pragma once

#include <juce_core/juce_core.h>

/**
    The recently used host addresses and their files in the per-user data folder: the
    current file (one address a line, CR LF between lines, none after the last) and an older
    single-address file that is only read. Plain logic; the connect panel calls it on the
    message thread.
*/
struct RecentHosts
{
    static constexpr int maxEntries = 8;

    /** Not empty, at most 15 characters, only full stops and the digits 0 to 9, exactly
        three full stops. The parts between the stops are not checked. */
    static bool isLikelyIPv4 (const juce::String& text);

    static juce::File getRecentIpsFile (const juce::File& dataFolder);
    static juce::File getOlderAddressFile (const juce::File& dataFolder);

    /** The list from the files: the plausible addresses of the current file in order, each
        once, at most eight; the older file's address when the current one gives none.
        A file that is missing, a folder, unreadable, huge or binary gives what lines pass. */
    static juce::StringArray load (const juce::File& dataFolder);

    /** The list with ipAddress moved (or added) to the front, at most eight entries. */
    static juce::StringArray withAddressFirst (juce::StringArray list, const juce::String& ipAddress);

    /** The file's bytes for a list: the entries joined by CR LF, no line ending at the end. */
    static juce::String fileText (const juce::StringArray& list);

    /** Replaces the current file through a hidden temporary file moved over it, creating the
        folder when needed; the old file stays when anything fails. Returns success. */
    static bool save (const juce::File& dataFolder, const juce::StringArray& list);

    /** A real file is a hundred bytes or so; reading stops after this much, and lines
        longer than maxLineBytes are skipped unread, so a huge file cannot stall start-up. */
    static constexpr juce::int64 maxBytesRead = 1 << 20;
    static constexpr int maxLineBytes = 4096;

private:
    static juce::StringArray readLines (const juce::File& file);

    /** A line's bytes as text: ASCII as it is, anything else as one replacement character. */
    static juce::String lineText (const char* bytes, size_t size);
    static void removeInterruptedSaves (const juce::File& dataFolder);
};
