#pragma once

#include <juce_gui_extra/juce_gui_extra.h>

#include <optional>

/**
    The show page's files, read in place from a ZIP archive held in memory: a request path
    maps to an entry, the entry is inflated and answered with the MIME type of its extension.
    The reader is opened on the first request and kept; nothing else is cached.

    Message thread (the web view asks for resources there).
*/
class SiteArchive
{
public:
    /** The archive is not copied: the bytes must outlive this object. */
    SiteArchive (const void* zipData, size_t zipSize);

    /** The archive compiled into the program. */
    static SiteArchive& embedded();

    /** The answer for a request path ("/" is "index.html"), or nothing for a name that no
        entry has (names are case-sensitive, nothing is decoded or normalised). */
    std::optional<juce::WebBrowserComponent::Resource> serve (const juce::String& path);

    /** The entry name a request path asks for. */
    static juce::String entryNameFor (const juce::String& path);

    /** The MIME type for an entry name, by its lower-cased extension. */
    static juce::String mimeTypeFor (const juce::String& entryName);

private:
    const void* data;
    size_t size;
    std::unique_ptr<juce::MemoryInputStream> stream;
    std::unique_ptr<juce::ZipFile> zip;

    JUCE_DECLARE_NON_COPYABLE (SiteArchive)
};
