#pragma once

/**
    Host update to screen: a CueState datagram sent by the bench acting as the host -> the
    Now Playing card's text changed, and -> the page's DOM showing the new current row (and the
    animation frame after it), observed inside the page by a probe the bench injects. Beside
    one frame at 60 Hz. Message thread.
*/
struct ScreenUpdateBench
{
    static void run();
};
