#include "QUENTARORemoteApplication.h"

#include "MainComponent.h"

void QUENTARORemoteApplication::initialise (const juce::String&)
{
    // The DNS-SD compatibility library warns on standard error at first use unless told
    // not to; the program has no log for such text.
    setenv ("AVAHI_COMPAT_NOWARN", "1", 1);

    mainWindow = std::make_unique<MainWindow> (getApplicationName());
}

void QUENTARORemoteApplication::shutdown()
{
    mainWindow = nullptr;
}

void QUENTARORemoteApplication::systemRequestedQuit()
{
    quit();
}

void QUENTARORemoteApplication::anotherInstanceStarted (const juce::String&) {}

//==============================================================================
QUENTARORemoteApplication::MainWindow::MainWindow (const juce::String& name)
    : DocumentWindow (name,
        juce::LookAndFeel::getDefaultLookAndFeel().findColour (juce::ResizableWindow::backgroundColourId),
        DocumentWindow::allButtons)
{
    setUsingNativeTitleBar (true);
    setContentOwned (new MainComponent(), true);
    setResizable (false, false);
    centreWithSize (1200, 800);

    if (auto* sizeLimits = getConstrainer())
        sizeLimits->setFixedAspectRatio (1.5);

    setVisible (true);
}

void QUENTARORemoteApplication::MainWindow::closeButtonPressed()
{
    juce::JUCEApplication::getInstance()->systemRequestedQuit();
}
