#pragma once

/**
    Page refresh cost in the real web view (WebKitGTK): CPU time of the web view's processes
    per 100 ms refresh, and the page's own render time, for 16, 200 and 1,000 songs with 10
    expanded. Message thread.
*/
struct RefreshBench
{
    static void run();
};
