#include "RemoteConnectPanel.h"

#include "../app/MainComponent.h"
#include "../lookandfeel/AppData.h"
#include "../lookandfeel/Surface.h"
#include "../protocol/ConnectionStart.h"
#include "RecentHosts.h"
#include "TextEditorStyle.h"

namespace
{
const juce::Colour primaryText { 0xfffafafa };
const juce::Colour secondaryText { 0xffa1a1aa };
const juce::Colour mutedText { 0xff71717a };
const juce::Colour outline { 0xff27272a };
const juce::Colour surface { 0xff18181b };
const juce::Colour green { 0xff22c55e };

void setLabel (juce::Label& label, const juce::String& text, float height, int style, juce::Colour colour)
{
    label.setText (text, juce::dontSendNotification);
    label.setFont (juce::FontOptions (height, style));
    label.setColour (juce::Label::textColourId, colour);
}

void setButtonColours (juce::TextButton& button, juce::Colour fill, juce::Colour fillOn, juce::Colour text)
{
    button.setColour (juce::TextButton::buttonColourId, fill);
    button.setColour (juce::TextButton::buttonOnColourId, fillOn);
    button.setColour (juce::TextButton::textColourOffId, text);
    button.setColour (juce::TextButton::textColourOnId, text);
}
} // namespace

//==============================================================================
RemoteConnectPanel::HostTableModel::HostTableModel (RemoteConnectPanel& ownerToUse) : owner (ownerToUse) {}

int RemoteConnectPanel::HostTableModel::getNumRows()
{
    return hosts.size();
}

bool RemoteConnectPanel::HostTableModel::isConnectClick (int x, int listWidth, int numberOfClicks)
{
    return numberOfClicks >= 2 || x >= listWidth - 112;
}

void RemoteConnectPanel::HostTableModel::listBoxItemClicked (int row, const juce::MouseEvent& event)
{
    if (! juce::isPositiveAndBelow (row, hosts.size()))
        return;

    if (isConnectClick (event.x, owner.hostList.getWidth(), event.getNumberOfClicks()))
    {
        auto host = hosts[row];
        owner.connectToHost (host.ipAddress, host.serviceName);
    }
}

void RemoteConnectPanel::HostTableModel::paintListBoxItem (int row, juce::Graphics& g, int width, int height,
    bool selected)
{
    if (! juce::isPositiveAndBelow (row, hosts.size()))
        return;

    const auto& host = hosts.getReference (row);

    auto card = juce::Rectangle<float> (8.5f, 2.5f, juce::jmax (0.0f, (float) width - 17.0f),
        juce::jmax (0.0f, (float) height - 5.0f));
    g.setColour (selected ? outline : surface);
    g.fillRoundedRectangle (card, 8.0f);
    g.setColour (outline);
    g.drawRoundedRectangle (card, 8.0f, 1.0f);

    const auto t = width - 44;
    const auto r = juce::jmax (0, height - 4);
    const auto s = width - 16;

    const auto n = juce::jmin (t, (int) (0.36 * s));
    g.setColour (primaryText);
    g.setFont (juce::FontOptions (14.0f, juce::Font::bold));
    g.drawText (host.serviceName, 22, 2, n, r, juce::Justification::centredLeft, true);

    const auto i = juce::jmin (t - n, (int) (0.30 * s));
    g.setColour (green);
    g.setFont (juce::FontOptions());
    g.drawText (host.ipAddress, 22 + n, 2, i, r, juce::Justification::centredLeft, true);

    const auto p = juce::jmin (t - n - i, (int) (0.12 * s));
    g.setColour (secondaryText);
    g.setFont (juce::FontOptions (12.0f, juce::Font::plain));
    g.drawText (juce::String ((int) host.port), 22 + n + i, 2, p, r, juce::Justification::centredLeft, true);

    const auto c = juce::jmin (t - n - i - p, 88);
    auto pill = juce::Rectangle<float> ((float) (t - c + 26), 12.0f, (float) juce::jmax (0, c - 8),
        (float) juce::jmax (0, r - 20));
    g.setColour (green);
    g.fillRoundedRectangle (pill, pill.getHeight() / 2.0f);
    g.setColour (juce::Colour (0xff052e16));
    g.drawText ("Connect", pill.toNearestInt(), juce::Justification::centred, true);

    g.setColour (juce::Colour (0xff36ca6c));
    g.fillEllipse (14.0f, (float) (r / 2 + 2 - 3), 6.0f, 6.0f);
}

//==============================================================================
void RemoteConnectPanel::TableHeader::paint (juce::Graphics& g)
{
    const auto w = getWidth();
    const auto h = getHeight();

    Surface::paintCard (g, Surface::cardArea (w, h), 8.0f, surface, outline);

    const int widths[] = { (int) (0.36 * w), (int) (0.30 * w), (int) (0.12 * w) };
    const char* titles[] = { "Host", "IP Address", "Port", "" };

    g.setColour (mutedText);
    g.setFont (juce::FontOptions (12.0f, juce::Font::plain));

    int x = 16;

    for (int column = 0; column < 4; ++column)
    {
        auto columnWidth = column < 3 ? widths[column] : juce::jmax (0, w - x);
        g.drawText (titles[column], x, 0, columnWidth, h, juce::Justification::centredLeft, true);
        x += columnWidth;
    }

    if (w - 8 > 8)
    {
        g.setColour (outline);
        g.fillRect (8, h - 1, w - 16, 1);
    }
}

//==============================================================================
RemoteConnectPanel::Layout RemoteConnectPanel::computeLayout (int width, int height, bool hasRecent)
{
    Layout layout;
    auto area = juce::Rectangle<int> (44, 44, juce::jmax (0, width - 88), juce::jmax (0, height - 88));

    layout.title = area.removeFromTop (30);
    area.removeFromTop (4);
    layout.subtitle = area.removeFromTop (18);
    area.removeFromTop (20);

    auto block = area.removeFromBottom (hasRecent ? 126 : 88);
    layout.manualLabel = block.removeFromTop (16);
    block.removeFromTop (6);

    if (hasRecent)
    {
        layout.recentLabel = block.removeFromTop (14);
        block.removeFromTop (4);
        layout.buttonRow = block.removeFromTop (28);
        block.removeFromTop (6);
    }

    auto line = block.removeFromTop (38);
    layout.demo = line.removeFromRight (80);
    line.removeFromRight (8);
    layout.connect = line.removeFromRight (100);
    line.removeFromRight (8);
    layout.editor = line;

    area.removeFromBottom (8);
    layout.header = area.removeFromTop (40);
    area.removeFromTop (4);
    layout.list = area;
    return layout;
}

int RemoteConnectPanel::recentButtonWidth (int preferredTextWidth)
{
    return preferredTextWidth < 80 ? 96 : juce::jmin (preferredTextWidth, 132) + 16;
}

RemoteConnectPanel::RemoteConnectPanel (MainComponent& ownerToUse) : mainComponent (ownerToUse)
{
    setLabel (titleLabel, "QUENTARO Remote", 22.0f, juce::Font::bold, primaryText);
    addAndMakeVisible (titleLabel);

    setLabel (subtitleLabel, "Discover QUENTARO hosts on your local network", 12.0f, juce::Font::plain, secondaryText);
    addAndMakeVisible (subtitleLabel);

    addAndMakeVisible (tableHeader);

    hostList.setModel (&hostModel);
    hostList.setColour (juce::ListBox::backgroundColourId, juce::Colour (0x00000000));
    hostList.setOutlineThickness (0);
    hostList.setRowHeight (52);
    addAndMakeVisible (hostList);

    setLabel (emptyLabel, "No hosts found - enter an IP address below", 12.0f, juce::Font::plain, mutedText);
    emptyLabel.setJustificationType (juce::Justification::centred);
    addAndMakeVisible (emptyLabel);

    setLabel (manualLabel, "Manual connection", 12.0f, juce::Font::plain, secondaryText);
    addAndMakeVisible (manualLabel);

    styleTextEditor (ipEditor);
    ipEditor.setTextToShowWhenEmpty ("192.168.1.5", mutedText);
    ipEditor.setInputRestrictions (15, "0123456789.");
    ipEditor.setJustification (juce::Justification::centredLeft);
    ipEditor.setIndents (12, 10);
    ipEditor.onReturnKey = [this] { connectButton.triggerClick(); };
    addAndMakeVisible (ipEditor);

    setLabel (recentLabel, "Recent", 12.0f, juce::Font::plain, secondaryText);
    addAndMakeVisible (recentLabel);

    recentIps = RecentHosts::load (AppData::dataFolder());

    if (! recentIps.isEmpty())
        ipEditor.setText (recentIps[0], juce::dontSendNotification);

    rebuildRecentIpButtons();

    setButtonColours (connectButton, green, juce::Colour (0xff16a34a), juce::Colour (0xff052e16));
    connectButton.onClick = [this]
    {
        auto address = ipEditor.getText().trim();
        connectToHost (address, discoveredNameFor (address));
    };
    addAndMakeVisible (connectButton);

    setButtonColours (demoButton, juce::Colour (0x00000000), outline, primaryText);
    demoButton.onClick = [this] { mainComponent.show.startDemo(); };
    addAndMakeVisible (demoButton);

    browser.addChangeListener (this);
    browser.start();

    refreshHosts();
}

RemoteConnectPanel::~RemoteConnectPanel()
{
    stopDiscovery();
    hostList.setModel (nullptr);
}

void RemoteConnectPanel::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff09090b));

    auto card = juce::Rectangle<float> (24.0f, 24.0f, (float) juce::jmax (0, getWidth() - 48),
        (float) juce::jmax (0, getHeight() - 48));
    g.setColour (juce::Colour (0xff151518));
    g.fillRoundedRectangle (card, 12.0f);
    g.setColour (outline);
    g.drawRoundedRectangle (card, 12.0f, 1.0f);
}

void RemoteConnectPanel::resized()
{
    const auto hasRecent = ! recentIps.isEmpty();
    const auto layout = computeLayout (getWidth(), getHeight(), hasRecent);

    titleLabel.setBounds (layout.title);
    subtitleLabel.setBounds (layout.subtitle);
    tableHeader.setBounds (layout.header);
    hostList.setBounds (layout.list);
    emptyLabel.setBounds (layout.list);

    const auto hasHosts = ! hostModel.hosts.isEmpty();
    hostList.setVisible (hasHosts);
    emptyLabel.setVisible (! hasHosts);

    manualLabel.setBounds (layout.manualLabel);
    recentLabel.setBounds (layout.recentLabel);
    ipEditor.setBounds (layout.editor);
    connectButton.setBounds (layout.connect);
    demoButton.setBounds (layout.demo);

    auto x = layout.buttonRow.getX();

    for (auto* button : recentButtons)
    {
        auto width = recentButtonWidth (getLookAndFeel().getTextButtonWidthToFitText (*button, 28));
        button->setBounds (x, layout.buttonRow.getY(), width, 28);
        x += width + 6;
    }
}

void RemoteConnectPanel::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    if (source == &browser)
        refreshHosts();
}

void RemoteConnectPanel::refreshHosts()
{
    hostModel.hosts = browser.getHosts();
    hostList.updateContent();
    hostList.repaint();
    resized();
}

void RemoteConnectPanel::rebuildRecentIpButtons()
{
    recentButtons.clear();
    recentLabel.setVisible (! recentIps.isEmpty());

    for (auto& address : recentIps)
    {
        auto* button = recentButtons.add (new juce::TextButton (address));
        setButtonColours (*button, juce::Colour (0x00000000), outline, primaryText);
        button->onClick = [this, address] { connectToHost (address, {}); };
        addAndMakeVisible (button);
    }
}

void RemoteConnectPanel::saveRecentIp (const juce::String& ipAddress)
{
    recentIps = RecentHosts::withAddressFirst (recentIps, ipAddress);
    RecentHosts::save (AppData::dataFolder(), recentIps);

    juce::MessageManager::callAsync (
        [safeThis = juce::WeakReference<RemoteConnectPanel> (this)]
        {
            if (safeThis != nullptr)
            {
                safeThis->rebuildRecentIpButtons();
                safeThis->resized();
            }
        });
}

juce::String RemoteConnectPanel::discoveredNameFor (const juce::String& ipAddress) const
{
    for (auto& host : browser.getHosts())
        if (host.ipAddress == ipAddress)
            return host.serviceName;

    return {};
}

void RemoteConnectPanel::connectToHost (const juce::String& ipAddress, const juce::String& hostName)
{
    if (ipAddress.isEmpty())
        return;

    ipEditor.setText (ipAddress, juce::dontSendNotification);

    auto name = hostName.isNotEmpty() ? hostName : discoveredNameFor (ipAddress);

    if (RecentHosts::isLikelyIPv4 (ipAddress))
        saveRecentIp (ipAddress);

    ConnectionStart::run (mainComponent, ipAddress, name);
}

void RemoteConnectPanel::stopDiscovery()
{
    browser.removeChangeListener (this);
    browser.stop();
}
