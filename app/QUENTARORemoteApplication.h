#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The application object: one non-resizable 1200 x 800 window holding the main component. */
class QUENTARORemoteApplication : public juce::JUCEApplication
{
public:
    QUENTARORemoteApplication() = default;

    const juce::String getApplicationName() override { return "QUENTARO Remote"; }
    const juce::String getApplicationVersion() override { return "1.3.8"; }
    bool moreThanOneInstanceAllowed() override { return true; }

    void initialise (const juce::String& commandLine) override;
    void shutdown() override;
    void systemRequestedQuit() override;
    void anotherInstanceStarted (const juce::String& commandLine) override;

    class MainWindow : public juce::DocumentWindow
    {
    public:
        explicit MainWindow (const juce::String& name);

        void closeButtonPressed() override;

    private:
        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainWindow)
    };

private:
    std::unique_ptr<MainWindow> mainWindow;
};
