#include "WebUI.h"

#include "SiteArchive.h"

juce::WebBrowserComponent::Options WebUI::withPageOptions (const Options& options)
{
    return options.withAppleWkWebViewOptions (Options::AppleWkWebView {}.withAllowAccessToEnclosingDirectory (true))
        .withNativeIntegrationEnabled()
        .withKeepPageLoadedWhenBrowserIsHidden()
        .withResourceProvider ([] (const juce::String& path) { return SiteArchive::embedded().serve (path); });
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
