#pragma once

/**
    Command path: a key press and a button click delivered to the program's components on the
    connected show screen -> the datagram read by the host's listener on loopback port 9212,
    beside raw UDP send-and-receive of the same size. Message thread.
*/
struct CommandPathBench
{
    static void run();
};
