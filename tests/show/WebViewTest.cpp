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

TEST (WebView, HostTextsNeverRunAsScriptAndWellFormedOnesStillWork)
{
    QUENTARORemoteApplication::MainWindow window ("QUENTARO Remote");
    auto& main = *dynamic_cast<MainComponent*> (window.getContentComponent());
    main.connectPanel.setVisible (false);
    main.show.setVisible (true);
    main.show.webView->setBounds (0, 0, 900, 500);
    auto& view = *main.show.webView;
    ASSERT_TRUE (pageSays (view, "typeof window.native_setTableData", "function"));

    // The real client's handlers, fed records as the receive path hands them over.
    main.remote = std::make_unique<RemoteConnection>();
    main.remote->client = std::make_shared<RCClient> (main);
    auto& client = *main.remote->client;
    ASSERT_NE (client.webBrowser, nullptr);
    auto receive = [&client] (RCType type, std::initializer_list<MessageRecord::Property> properties)
    { client.handleIncoming (MessageRecord::toBytes (MessageRecord::build (type, properties))); };

    const auto scriptsBefore = evaluate (view, "document.scripts.length");
    ASSERT_TRUE (scriptsBefore.has_value());

    // Song names that try every way out of a string, a statement and the markup.
    const juce::StringArray names {
        "</script><script>window.__pwned = 1</script>",
        "\"); window.__pwned = 2; (\"",
        "'); window.__pwned = 3; ('",
        juce::String (juce::CharPointer_UTF8 ("line\xe2\x80\xa8separator\xe2\x80\xa9paragraph "))
            + "window.__pwned = 4",
        "<img src=x onerror=\"window.__pwned = 5\">",
        "${window.__pwned = 6}`",
        juce::String::repeatedString ("long ", 12000) + "end",
        juce::String (juce::CharPointer_UTF8 ("B\xc3\xbchne \xe0\xb9\x84\xe0\xb8\x97\xe0\xb8\xa2 \xf0\x9f\x8e\xb5")),
    };

    juce::Array<juce::var> songs;

    for (int cue = 0; cue < names.size(); ++cue)
    {
        auto* song = new juce::DynamicObject();
        song->setProperty ("cue", cue);
        song->setProperty ("songname", names[cue]);
        song->setProperty ("tracks", 1);
        song->setProperty ("markers", juce::Array<juce::var> {});
        song->setProperty ("tempos", juce::Array<juce::var> {});
        song->setProperty ("timesignature", juce::Array<juce::var> {});
        song->setProperty ("file_missing", false);
        songs.add (juce::var (song));
    }

    const auto document = juce::JSON::toString (songs, true);
    ASSERT_TRUE (WebBridge::isDocumentLiteral (document)) << document.substring (0, 400);
    receive (RCType::CueTable, { { "json", document }, { "currentcue", "1" }, { "nextcue", "2" } });
    ASSERT_TRUE (pageSays (view, "document.querySelectorAll('[data-cue-row]').length", names.size()));

    for (int cue = 0; cue < names.size(); ++cue)
    {
        // Each name is shown as the text it is (the probe, too, must reach the page in ASCII).
        const auto probe = "document.querySelector('[data-cue-row=\"" + juce::String (cue)
            + "\"]').textContent.includes("
            + WebBridge::asciiOnly (juce::JSON::toString (names[cue].substring (0, 200))) + ")";
        EXPECT_TRUE (pageSays (view, probe, true, std::chrono::seconds (5))) << cue;
    }

    EXPECT_TRUE (pageSays (view, "document.querySelector('[data-cue-row=\"1\"]').className.includes('current')", true));

    // Values that are not literals of their kind never reach the page: the table stays.
    receive (RCType::CueTable, { { "json", "[]); window.__pwned = 7; (" }, { "currentcue", "0" }, { "nextcue", "0" } });
    receive (RCType::CueTable, { { "json", "[]" }, { "currentcue", "0); window.__pwned = 8; (" }, { "nextcue", "0" } });
    receive (RCType::CueTable,
        { { "json", juce::String (juce::CharPointer_UTF8 ("[] \xe2\x80\xa8 window.__pwned = 9")) },
            { "currentcue", "0" }, { "nextcue", "0" } });
    receive (RCType::MarkerLoopState,
        { { "songCue", "0" }, { "markerNum", "1" }, { "enabled", "true); window.__pwned = 10; (" } });
    receive (RCType::MarkerLoopState,
        { { "songCue", "0, window.__pwned = 11" }, { "markerNum", "1" }, { "enabled", "1" } });

    // A well-formed update after all that still works.
    receive (RCType::MarkerLoopState, { { "songCue", "0" }, { "markerNum", "1" }, { "enabled", "true" } });
    receive (RCType::CueState, { { "currentcue", "3" }, { "nextcue", "4" } });
    EXPECT_TRUE (pageSays (view, "document.querySelector('[data-cue-row=\"3\"]').className.includes('current')", true));
    EXPECT_TRUE (pageSays (view, "document.querySelectorAll('[data-cue-row]').length", names.size()));

    EXPECT_TRUE (pageSays (view, "typeof window.__pwned", "undefined"));
    EXPECT_EQ (evaluate (view, "document.scripts.length"), scriptsBefore);
    EXPECT_TRUE (pageSays (view, "document.querySelectorAll('img').length", 0));
}

TEST (WebView, ThePinOverlayIsNeverHiddenBehindThePage)
{
    QUENTARORemoteApplication::MainWindow window ("QUENTARO Remote");
    auto& main = *dynamic_cast<MainComponent*> (window.getContentComponent());
    main.connectPanel.setVisible (false);
    main.show.setVisible (true);
    ASSERT_NE (main.show.webView, nullptr);
    auto& view = *main.show.webView;
    const auto placed = view.getBounds();
    ASSERT_TRUE (main.getLocalBounds().intersects (placed));

    // A host that restarted asks for its PIN while the show screen is up: the page's native
    // window, which stays in front of every component, makes way for the overlay.
    main.pinOverlay.showForHost();
    EXPECT_FALSE (view.isVisible());
    EXPECT_FALSE (main.getLocalBounds().intersects (view.getBounds()));

    main.pinOverlay.setVisible (false);
    EXPECT_TRUE (view.isVisible());
    EXPECT_EQ (view.getBounds(), placed);

    // Hidden with the show view, it stays hidden when the overlay goes.
    main.pinOverlay.showForHost();
    main.show.setVisible (false);
    main.pinOverlay.setVisible (false);
    EXPECT_FALSE (view.isVisible());
}
