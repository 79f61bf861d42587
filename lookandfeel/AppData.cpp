#include "AppData.h"

const juce::File& AppData::dataFolder()
{
    static const juce::File folder {
        juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory).getFullPathName()
        + "/Application Support/QUENTARO"
    };
    return folder;
}
