#include "show/SiteArchive.h"
#include "show/WebUI.h"

#include <gtest/gtest.h>

namespace
{
/** The fixture site, packed by the same step that packs the real one. */
juce::MemoryBlock fixtureZip()
{
    juce::MemoryBlock bytes;
    EXPECT_TRUE (juce::File (QUENTARO_FIXTURE_SITE_ZIP).loadFileAsData (bytes));
    return bytes;
}

juce::String text (const juce::WebBrowserComponent::Resource& resource)
{
    return juce::String::fromUTF8 (reinterpret_cast<const char*> (resource.data.data()), (int) resource.data.size());
}
} // namespace

TEST (SiteArchive, PathsMapToEntriesWithTheirMimeTypes)
{
    const auto zip = fixtureZip();
    SiteArchive archive (zip.getData(), zip.getSize());

    struct Case
    {
        const char* path;
        bool found;
        const char* mimeType;
        const char* body; // null: not checked
    };

    const Case cases[] = {
        { "/", true, "text/html", "<!doctype html><title>fixture</title>\n" },
        { "/index.html", true, "text/html", "<!doctype html><title>fixture</title>\n" },
        { "/favicon.ico", true, "image/vnd.microsoft.icon", nullptr },
        { "/quentaro-bridge-init.js", true, "text/javascript", "window.__bridge = 1;\n" },
        { "/assets/page.css", true, "text/css", "body{}\n" },
        { "/404/", true, "application/octet-stream", "" },
        { "/404/index.html", true, "text/html", "not found\n" },
        { "/Upper.TTF", true, "font/ttf", "TTF" },
        { "/LICENSE", true, "application/octet-stream", "plain" },
        { "/empty.txt", true, "text/plain", "" },
        { "/SFThonburi-Regular.ttf", true, "font/ttf", nullptr },
        { "/INDEX.HTML", false, nullptr, nullptr },
        { "/missing.js", false, nullptr, nullptr },
        { "/assets", false, nullptr, nullptr },
        { "/assets/../index.html", false, nullptr, nullptr },
        { "/index%2Ehtml", false, nullptr, nullptr },
        { "", false, nullptr, nullptr },
        { "index.html", false, nullptr, nullptr },
    };

    for (auto& c : cases)
    {
        auto resource = archive.serve (c.path);
        ASSERT_EQ (resource.has_value(), c.found) << c.path;

        if (! c.found)
            continue;

        EXPECT_EQ (resource->mimeType, c.mimeType) << c.path;

        if (c.body != nullptr)
        {
            EXPECT_EQ (text (*resource), c.body) << c.path;
        }
    }
}

TEST (SiteArchive, MimeTypesByLowerCasedExtension)
{
    struct Case
    {
        const char* name;
        const char* type;
    };

    const Case cases[] = {
        { "a.htm", "text/html" },
        { "a.HTML", "text/html" },
        { "a.txt", "text/plain" },
        { "a.jpg", "image/jpeg" },
        { "a.jpeg", "image/jpeg" },
        { "a.svg", "image/svg+xml" },
        { "a.ico", "image/vnd.microsoft.icon" },
        { "a.json", "application/json" },
        { "a.png", "image/png" },
        { "a.css", "text/css" },
        { "a.js.map", "application/json" },
        { "a.js", "text/javascript" },
        { "a.mjs", "text/javascript" },
        { "a.woff2", "font/woff2" },
        { "a.ttf", "font/ttf" },
        { "a.woff", "application/octet-stream" },
        { "json", "application/json" },
        { "Makefile", "application/octet-stream" },
        { "dir/", "application/octet-stream" },
    };

    for (auto& c : cases)
        EXPECT_EQ (SiteArchive::mimeTypeFor (c.name), c.type) << c.name;
}

TEST (SiteArchive, BytesThatAreNoArchiveServeNothing)
{
    const char garbage[] = "this is not a zip archive at all";
    SiteArchive archive (garbage, sizeof (garbage));
    EXPECT_FALSE (archive.serve ("/").has_value());
    EXPECT_FALSE (archive.serve ("/index.html").has_value());
}

TEST (WebUI, TheViewStaysOnTheArchivesPages)
{
    const juce::String root = "juce://juce.backend/";

    struct Case
    {
        const char* url;
        bool allowed;
    };

    const Case cases[] = {
        { "juce://juce.backend/", true },
        { "juce://juce.backend/index.html", true },
        { "juce://juce.backend/assets/x.js?v=1", true },
        { "about:blank", true },
        { "juce://juce.backend.evil/", false },
        { "https://example.invalid/", false },
        { "file:///etc/passwd", false },
        { "javascript:alert(1)", false },
        { "", false },
    };

    for (auto& c : cases)
        EXPECT_EQ (WebUI::isArchiveAddress (c.url, root), c.allowed) << c.url;

    EXPECT_TRUE (WebUI::isArchiveAddress ("juce://juce.backend", "juce://juce.backend"));
    EXPECT_TRUE (WebUI::isArchiveAddress ("juce://juce.backend/index.html", "juce://juce.backend"));
}
