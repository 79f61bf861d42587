// The real show view in the real web view (WebKitGTK) on the test display: the archive, the
// resource provider, the bootstrap script and the page working together.

#include "app/MainComponent.h"
#include "app/QUENTARORemoteApplication.h"

#include "support/MessageLoop.h"

#include <gtest/gtest.h>

namespace
{
/** Evaluates an expression in the page and waits for its result. */
std::optional<juce::var> evaluate (WebUI& view, const juce::String& expression)
{
    std::optional<juce::var> result;
    bool done = false;

    view.evaluateJavascript (expression,
        [&] (juce::WebBrowserComponent::EvaluationResult r)
        {
            if (auto* value = r.getResult())
                result = *value;

            done = true;
        });

    if (! MessageLoop::runUntil ([&] { return done; }, std::chrono::seconds (10)))
        return std::nullopt;

    return result;
}

bool pageSays (WebUI& view, const juce::String& expression, const juce::var& expected,
    std::chrono::seconds deadline = std::chrono::seconds (30))
{
    return MessageLoop::runUntil (
        [&]
        {
            auto value = evaluate (view, expression);
            return value.has_value() && *value == expected;
        },
        deadline);
}

juce::String showDocument (int songs)
{
    juce::Array<juce::var> list;

    for (int cue = 0; cue < songs; ++cue)
    {
        auto* song = new juce::DynamicObject();
        song->setProperty ("cue", cue);
        song->setProperty ("songname", "Song " + juce::String (cue));
        song->setProperty ("tracks", 2);
        song->setProperty ("markers", juce::Array<juce::var> {});
        song->setProperty ("tempos", juce::Array<juce::var> {});
        song->setProperty ("timesignature", juce::Array<juce::var> {});
        song->setProperty ("file_missing", cue == 2);
        list.add (juce::var (song));
    }

    return juce::JSON::toString (list, true);
}
} // namespace

TEST (WebView, ThePageLoadsFromTheArchiveAndFollowsTheBridge)
{
    QUENTARORemoteApplication::MainWindow window ("QUENTARO Remote");
    auto& main = *dynamic_cast<MainComponent*> (window.getContentComponent());
    main.connectPanel.setVisible (false);
    main.show.setVisible (true);
    main.show.webView->setBounds (0, 0, 900, 500);

    ASSERT_NE (main.show.webView, nullptr);
    auto& view = *main.show.webView;

    // Served from the archive: the bootstrap script has installed the window functions.
    ASSERT_TRUE (pageSays (view, "typeof window.native_setTableData", "function"));
    ASSERT_TRUE (pageSays (view, "document.readyState", "complete"));

    // A table through the bridge object, exactly as a host's CueTable would send it.
    ASSERT_TRUE (main.show.getBridge().setTableData (showDocument (6), "1", "3"));
    ASSERT_TRUE (pageSays (view, "document.querySelectorAll('[data-cue-row]').length", 6));
    EXPECT_TRUE (
        pageSays (view, "document.querySelector('[data-cue-row=\"4\"]').textContent.includes('Song 4')", true));

    // The cue calls move the row classes.
    main.show.getBridge().setCurrentCue (4, 1);
    main.show.getBridge().setNextCue (5);
    EXPECT_TRUE (pageSays (view, "document.querySelector('[data-cue-row=\"4\"]').className.includes('current')", true));
    EXPECT_TRUE (pageSays (view, "document.querySelector('[data-cue-row=\"5\"]').className.includes('next')", true));

    // Nothing from outside the archive: the page's font and stylesheet came from it too.
    EXPECT_TRUE (pageSays (view,
        "location.href.startsWith('juce://') || location.href.startsWith('"
            + juce::WebBrowserComponent::getResourceProviderRoot() + "')",
        true));
}
