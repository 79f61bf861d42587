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

bool WebUI::pageAboutToLoad (const juce::String& newURL)
{
    // Only the archive's pages: a link or a script can never take the view elsewhere.
    return newURL.startsWith (root) || newURL == "about:blank";
}
