#pragma once

#include "RemoteMDNSBrowser.h"

#include <juce_gui_basics/juce_gui_basics.h>

class MainComponent;

/**
    The connect screen: the hosts found on the local network as a list of cards, an address
    typed by hand, up to eight recent addresses as buttons, and the demo. Every way of
    choosing a host ends in connectToHost. Message thread only; the discovered list is
    shared with the browser thread only through the browser's lock.
*/
class RemoteConnectPanel : public juce::Component,
                           public juce::ChangeListener
{
public:
    class HostTableModel : public juce::ListBoxModel
    {
    public:
        explicit HostTableModel (RemoteConnectPanel& owner);

        int getNumRows() override;
        void paintListBoxItem (int row, juce::Graphics& g, int width, int height, bool selected) override;
        void listBoxItemClicked (int row, const juce::MouseEvent& event) override;

        /** A click connects when it lands on the row's "Connect" pill (the rightmost 112
            pixels) or is the second or later click of a multiple click. */
        static bool isConnectClick (int x, int listWidth, int numberOfClicks);

        RemoteConnectPanel& owner;
        juce::Array<DiscoveredHost> hosts;
    };

    class TableHeader : public juce::Component
    {
    public:
        void paint (juce::Graphics& g) override;
        void resized() override {}
    };

    struct Layout
    {
        juce::Rectangle<int> title, subtitle, header, list, manualLabel, recentLabel, buttonRow, editor, connect, demo;
    };

    /** Where everything goes in a panel of the given size. */
    static Layout computeLayout (int width, int height, bool hasRecent);

    /** A recent button's width from the look and feel's preferred width for its text. */
    static int recentButtonWidth (int preferredTextWidth);

    explicit RemoteConnectPanel (MainComponent& owner);
    ~RemoteConnectPanel() override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;

    void refreshHosts();
    void rebuildRecentIpButtons();
    void saveRecentIp (const juce::String& ipAddress);
    void connectToHost (const juce::String& ipAddress, const juce::String& hostName);

    /** Stops listening to the host browser and stops it; safe to call more than once. */
    void stopDiscovery();

private:
    MainComponent& mainComponent;

public:
    RemoteMDNSBrowser browser;
    HostTableModel hostModel { *this };
    TableHeader tableHeader;
    juce::Label titleLabel, subtitleLabel, emptyLabel;
    juce::ListBox hostList;
    juce::Label manualLabel, recentLabel;
    juce::StringArray recentIps;
    juce::OwnedArray<juce::TextButton> recentButtons;
    juce::TextEditor ipEditor;
    juce::TextButton connectButton { "Connect" };
    juce::TextButton demoButton { "Demo" };

private:
    /** The name of the first discovered host with exactly this address, or empty. */
    juce::String discoveredNameFor (const juce::String& ipAddress) const;

    JUCE_DECLARE_WEAK_REFERENCEABLE (RemoteConnectPanel)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RemoteConnectPanel)
};
