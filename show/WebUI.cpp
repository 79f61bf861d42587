#include "WebUI.h"

#include "SiteArchive.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace
{
long long monotonicNanoseconds()
{
    timespec now {};
    clock_gettime (CLOCK_MONOTONIC, &now);
    return (long long) now.tv_sec * 1000000000LL + now.tv_nsec;
}

/** The archive's answer; with QUENTARO_STARTUP_TRACE set (the start-up benchmark) each request
    also prints when it came (monotonic clock, as the page-ready line) and how long it took to
    answer, so that the page load can be told apart from the web engine's own start. Called on
    the message thread. */
std::optional<juce::WebBrowserComponent::Resource> serveFromArchive (const juce::String& path)
{
    static const bool tracing = std::getenv ("QUENTARO_STARTUP_TRACE") != nullptr;

    if (! tracing)
        return SiteArchive::embedded().serve (path);

    const auto asked = monotonicNanoseconds();
    auto resource = SiteArchive::embedded().serve (path);
    std::fprintf (stderr, "quentaro-startup resource %lld %lld us %s\n", asked, (monotonicNanoseconds() - asked) / 1000,
        path.toRawUTF8());
    return resource;
}
} // namespace

juce::WebBrowserComponent::Options WebUI::withPageOptions (const Options& options)
{
    return options.withAppleWkWebViewOptions (Options::AppleWkWebView {}.withAllowAccessToEnclosingDirectory (true))
        .withNativeIntegrationEnabled()
        .withKeepPageLoadedWhenBrowserIsHidden()
        .withResourceProvider (serveFromArchive);
}

WebUI::WebUI (const Options& options, const juce::String& rootAddress)
    : juce::WebBrowserComponent (withPageOptions (options)), root (rootAddress)
{
    goToURL (rootAddress);
}

bool WebUI::isArchiveAddress (const juce::String& url, const juce::String& rootAddress)
{
    if (url == "about:blank")
        return true;

    // The root itself, or a path below it: "juce://juce.backend.evil" must not pass for it.
    auto base = rootAddress.endsWithChar ('/') ? rootAddress : rootAddress + "/";
    return url == rootAddress || url.startsWith (base);
}

bool WebUI::pageAboutToLoad (const juce::String& newURL)
{
    return isArchiveAddress (newURL, root);
}
