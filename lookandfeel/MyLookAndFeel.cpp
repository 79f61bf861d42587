#include "MyLookAndFeel.h"

MyLookAndFeel::MyLookAndFeel()
{
    // Alert windows use the platform's own dialogs, whichever look and feel is the default.
    juce::LookAndFeel::getDefaultLookAndFeel().setUsingNativeAlertWindows (true);
    setUsingNativeAlertWindows (true);
}
