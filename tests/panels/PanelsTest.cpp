#include "app/MainComponent.h"

#include <gtest/gtest.h>

TEST (Panels, TheShowViewOwnsBothPanels)
{
    MainComponent main;
    EXPECT_TRUE (main.show.hotCuePanel.getHotCues().empty());
}
