#include "SiteArchive.h"

#include <map>

SiteArchive::SiteArchive (const void* zipData, size_t zipSize) : data (zipData), size (zipSize) {}

juce::String SiteArchive::entryNameFor (const juce::String& path)
{
    if (path == "/")
        return "index.html";

    auto slash = path.indexOfChar ('/');
    return slash >= 0 ? path.substring (slash + 1) : juce::String();
}

juce::String SiteArchive::mimeTypeFor (const juce::String& entryName)
{
    static const std::map<juce::String, juce::String> types {
        { "htm", "text/html" },
        { "html", "text/html" },
        { "txt", "text/plain" },
        { "jpg", "image/jpeg" },
        { "jpeg", "image/jpeg" },
        { "svg", "image/svg+xml" },
        { "ico", "image/vnd.microsoft.icon" },
        { "json", "application/json" },
        { "png", "image/png" },
        { "css", "text/css" },
        { "map", "application/json" },
        { "js", "text/javascript" },
        { "mjs", "text/javascript" },
        { "woff2", "font/woff2" },
        { "ttf", "font/ttf" },
    };

    auto dot = entryName.lastIndexOfChar ('.');
    auto extension = (dot >= 0 ? entryName.substring (dot + 1) : entryName).toLowerCase();
    auto found = types.find (extension);
    return found != types.end() ? found->second : juce::String ("application/octet-stream");
}

std::optional<juce::WebBrowserComponent::Resource> SiteArchive::serve (const juce::String& path)
{
    const auto name = entryNameFor (path);

    if (name.isEmpty())
        return std::nullopt;

    if (zip == nullptr)
    {
        stream = std::make_unique<juce::MemoryInputStream> (data, size, false);
        zip = std::make_unique<juce::ZipFile> (stream.get(), false);
    }

    for (int i = 0; i < zip->getNumEntries(); ++i)
    {
        auto* entry = zip->getEntry (i);

        if (entry == nullptr || entry->filename != name)
            continue;

        std::vector<std::byte> bytes ((size_t) juce::jmax ((juce::int64) 0, entry->uncompressedSize));

        if (! bytes.empty())
        {
            std::unique_ptr<juce::InputStream> in (zip->createStreamForEntry (i));

            if (in == nullptr)
                return std::nullopt;

            auto read = in->read (bytes.data(), (int) bytes.size());
            bytes.resize ((size_t) juce::jmax (0, read));
        }

        return juce::WebBrowserComponent::Resource { std::move (bytes), mimeTypeFor (name) };
    }

    return std::nullopt;
}
