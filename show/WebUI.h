#pragma once

#include <juce_gui_extra/juce_gui_extra.h>

/**
    The show page's web view: native integration, a page kept loaded while hidden, and every
    file served from the site archive inside the program. Navigation away from the archive's
    own pages is refused. Message thread only.
*/
class WebUI : public juce::WebBrowserComponent
{
public:
    WebUI (const Options& options, const juce::String& rootAddress);

    bool pageAboutToLoad (const juce::String& newURL) override;

    /** Whether the view may go to an address: only the archive's own pages (and the blank page
        the engine starts from). A link or a script can never take the view elsewhere. */
    static bool isArchiveAddress (const juce::String& url, const juce::String& rootAddress);

    /** The options with what the page needs added: native integration, keeping the page while
        hidden and the archive's resource provider. */
    static Options withPageOptions (const Options& options);

private:
    juce::String root;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WebUI)
};
