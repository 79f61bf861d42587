#include "app/MainComponent.h"
#include "discovery/RecentHosts.h"
#include "lookandfeel/AppData.h"

#include "support/HostEndpoint.h"
#include "support/MessageLoop.h"
#include "support/TestNetwork.h"

#include <gtest/gtest.h>

namespace
{
/** Each test starts from an empty data folder (the test command gives a throw-away home). */
class ConnectPanel : public testing::Test
{
protected:
    void SetUp() override { AppData::dataFolder().deleteRecursively(); }
    void TearDown() override { AppData::dataFolder().deleteRecursively(); }

    juce::MemoryBlock recentFileBytes()
    {
        juce::MemoryBlock bytes;
        RecentHosts::getRecentIpsFile (AppData::dataFolder()).loadFileAsData (bytes);
        return bytes;
    }
};
} // namespace

TEST (ConnectPanelLayout, StandardPanelWithAndWithoutRecentAddresses)
{
    using R = juce::Rectangle<int>;

    auto with = RemoteConnectPanel::computeLayout (820, 520, true);
    EXPECT_EQ (with.title, R (44, 44, 732, 30));
    EXPECT_EQ (with.subtitle, R (44, 78, 732, 18));
    EXPECT_EQ (with.header, R (44, 116, 732, 40));
    EXPECT_EQ (with.list, R (44, 160, 732, 182));
    EXPECT_EQ (with.manualLabel, R (44, 350, 732, 16));
    EXPECT_EQ (with.recentLabel, R (44, 372, 732, 14));
    EXPECT_EQ (with.buttonRow, R (44, 390, 732, 28));
    EXPECT_EQ (with.editor, R (44, 424, 536, 38));
    EXPECT_EQ (with.connect, R (588, 424, 100, 38));
    EXPECT_EQ (with.demo, R (696, 424, 80, 38));

    auto without = RemoteConnectPanel::computeLayout (820, 520, false);
    EXPECT_EQ (without.list, R (44, 160, 732, 220));
    EXPECT_EQ (without.manualLabel, R (44, 388, 732, 16));
    EXPECT_EQ (without.editor, R (44, 410, 536, 38));
    EXPECT_TRUE (without.recentLabel.isEmpty() && without.buttonRow.isEmpty());

    // Too small: every slice shrinks to what is left, never negative.
    auto tiny = RemoteConnectPanel::computeLayout (50, 50, true);
    for (auto r : { tiny.title, tiny.list, tiny.editor, tiny.demo, tiny.header })
        EXPECT_TRUE (r.getWidth() >= 0 && r.getHeight() >= 0);
}

TEST (ConnectPanelLayout, RecentButtonWidthsAndConnectClicks)
{
    struct Width
    {
        int preferred, width;
    };

    for (auto c : { Width { 0, 96 }, Width { 79, 96 }, Width { 80, 96 }, Width { 100, 116 }, Width { 132, 148 },
             Width { 400, 148 } })
        EXPECT_EQ (RemoteConnectPanel::recentButtonWidth (c.preferred), c.width) << c.preferred;

    struct Click
    {
        int x, clicks;
        bool connects;
    };

    for (auto c : { Click { 0, 1, false }, Click { 619, 1, false }, Click { 620, 1, true }, Click { 731, 1, true },
             Click { 10, 2, true }, Click { 10, 3, true } })
        EXPECT_EQ (RemoteConnectPanel::HostTableModel::isConnectClick (c.x, 732, c.clicks), c.connects)
            << c.x << " x" << c.clicks;
}

TEST_F (ConnectPanel, TheListReplacesTheEmptyTextWhenHostsArrive)
{
    MainComponent main;
    auto& panel = main.connectPanel;
    EXPECT_TRUE (panel.emptyLabel.isVisible());
    EXPECT_FALSE (panel.hostList.isVisible());
    EXPECT_TRUE (panel.tableHeader.isVisible());
    EXPECT_FALSE (panel.recentLabel.isVisible());

    panel.browser.addHost ({ juce::String (juce::CharPointer_UTF8 ("B\xc3\xbchne")), "10.211.0.2", 9212 });
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return panel.hostList.isVisible(); }));
    EXPECT_FALSE (panel.emptyLabel.isVisible());
    EXPECT_EQ (panel.hostModel.getNumRows(), 1);

    panel.browser.removeHostsNamed (juce::String (juce::CharPointer_UTF8 ("B\xc3\xbchne")));
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return panel.emptyLabel.isVisible(); }));
}

TEST_F (ConnectPanel, TheAddressFieldTakesOnlyFifteenDigitsAndStops)
{
    MainComponent main;
    auto& editor = main.connectPanel.ipEditor;
    editor.clear();
    editor.insertTextAtCaret ("1a9b2.1-68.1.20x");
    EXPECT_EQ (editor.getText(), "192.168.1.20");
    editor.insertTextAtCaret ("12345");
    EXPECT_EQ (editor.getText(), "192.168.1.20123");
}

TEST_F (ConnectPanel, ConnectingRecordsPlausibleAddressesAndStartsTheConnection)
{
    REQUIRE_PRIVATE_NETWORK();
    HostEndpoint host;
    ASSERT_TRUE (host.isBound());

    MainComponent main;
    auto& panel = main.connectPanel;
    panel.browser.addHost ({ "Stage", "127.0.0.1", 9212 });

    // Typed address and Return: the discovered name goes with it.
    panel.ipEditor.setText ("127.0.0.1", false);
    panel.ipEditor.keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return main.remote != nullptr; }));
    EXPECT_EQ (main.show.connectName, "Stage");
    EXPECT_EQ (main.statusLabel.getText(), "Status : Connecting...");
    EXPECT_EQ (panel.recentIps, juce::StringArray ("127.0.0.1"));
    EXPECT_EQ (recentFileBytes(), juce::MemoryBlock ("127.0.0.1", 9));
    ASSERT_TRUE (
        MessageLoop::runUntil ([&] { return panel.recentButtons.size() == 1 && panel.recentLabel.isVisible(); }));
    EXPECT_EQ (panel.recentButtons[0]->getButtonText(), "127.0.0.1");

    // An implausible address connects but is not recorded.
    panel.connectToHost ("1.2.3", {});
    EXPECT_EQ (main.hostAddress, "1.2.3");
    EXPECT_EQ (panel.ipEditor.getText(), "1.2.3");
    EXPECT_EQ (panel.recentIps, juce::StringArray ("127.0.0.1"));
    EXPECT_EQ (recentFileBytes(), juce::MemoryBlock ("127.0.0.1", 9));

    // An empty address does nothing at all.
    std::weak_ptr<RCClient> current = main.remote->client;
    panel.connectToHost ("", "Stage");
    EXPECT_FALSE (current.expired());

    // A recent button connects to its address, named when discovery knows it.
    panel.connectToHost ("10.0.0.7", {});
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return panel.recentButtons.size() == 2; }));
    panel.recentButtons[1]->triggerClick();
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return main.hostAddress == "127.0.0.1"; }));
    EXPECT_EQ (main.show.connectName, "Stage");
    EXPECT_EQ (recentFileBytes(), juce::MemoryBlock ("127.0.0.1\r\n10.0.0.7", 19));

    // The next start loads the list and shows the newest address in the field.
    main.disconnectRemote();
    MainComponent restarted;
    EXPECT_EQ (restarted.connectPanel.recentIps, (juce::StringArray { "127.0.0.1", "10.0.0.7" }));
    EXPECT_EQ (restarted.connectPanel.ipEditor.getText(), "127.0.0.1");
}
