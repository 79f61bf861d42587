#pragma once

#include <juce_core/juce_core.h>

/** Paths shared by the whole program. */
struct AppData
{
    /** The per-user data folder: the application-data directory followed by
        "/Application Support/QUENTARO". The main component creates it; the recent-hosts
        store keeps its files there. */
    static const juce::File& dataFolder();
};
