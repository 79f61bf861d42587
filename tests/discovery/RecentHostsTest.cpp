#include "discovery/RecentHosts.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <iostream>
#include <sched.h>
#include <sys/mman.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{
class RecentHostsFiles : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE (folder.createDirectory()); }
    void TearDown() override { folder.deleteRecursively(); }

    void writeCurrent (const juce::String& text)
    {
        ASSERT_TRUE (RecentHosts::getRecentIpsFile (folder).replaceWithText (text));
    }
    void writeOlder (const juce::String& text)
    {
        ASSERT_TRUE (RecentHosts::getOlderAddressFile (folder).replaceWithText (text));
    }

    juce::MemoryBlock currentBytes()
    {
        juce::MemoryBlock bytes;
        RecentHosts::getRecentIpsFile (folder).loadFileAsData (bytes);
        return bytes;
    }

    juce::File folder =
        juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("recent", "");
};
} // namespace

TEST (RecentHosts, AddressCheckCountsStopsAndAsciiDigitsOnly)
{
    struct Case
    {
        const char* text;
        bool passes;
    };

    const Case cases[] = {
        { "192.168.1.20", true },
        { "999.999.999.999", true },
        { "1...", true },
        { "...", true },
        { "1.2.3", false },
        { "1.2.3.4.5", false },
        { "", false },
        { "10.0.0.5 ", false },
        { "hostname.local", false },
        { "1.2.3.4a", false },
        { "1234567890.1.2.3", false },
        { "\xd9\xa1.2.3.4", false },
        { "\xef\xbc\x91.2.3.4", false },
        { "-1.2.3.4", false },
    };

    for (auto& c : cases)
        EXPECT_EQ (RecentHosts::isLikelyIPv4 (juce::String (juce::CharPointer_UTF8 (c.text))), c.passes) << c.text;
}

TEST_F (RecentHostsFiles, LoadingKeepsPlausibleAddressesOnceInOrderAndAtMostEight)
{
    struct Case
    {
        const char* name;
        juce::String current; // empty: no file
        juce::String older;
        juce::StringArray expected;
    };

    const Case cases[] = {
        { "skips blanks, copies and names", "10.0.0.5\n   \n10.0.0.5\nhostname.local", {}, { "10.0.0.5" } },
        { "first eight of ten",
            "1.0.0.1\n1.0.0.2\n1.0.0.3\n1.0.0.4\n1.0.0.5\n1.0.0.6\n1.0.0.7\n1.0.0.8\n1.0.0.9\n1.0.0.10", {},
            { "1.0.0.1", "1.0.0.2", "1.0.0.3", "1.0.0.4", "1.0.0.5", "1.0.0.6", "1.0.0.7", "1.0.0.8" } },
        { "any line ending, trimmed", "  10.0.0.1\t\r\n10.0.0.2\r10.0.0.3\n", {},
            { "10.0.0.1", "10.0.0.2", "10.0.0.3" } },
        { "older file when there is no current one", {}, "192.168.0.7\n", { "192.168.0.7" } },
        { "older file when the current one gives nothing", "nothing here", "192.168.0.7", { "192.168.0.7" } },
        { "older file ignored once the current one gives an address", "10.0.0.1", "192.168.0.7", { "10.0.0.1" } },
        { "older file holds one address, not lines", {}, "10.0.0.1\n10.0.0.2", {} },
        { "no files", {}, {}, {} },
    };

    for (auto& c : cases)
    {
        RecentHosts::getRecentIpsFile (folder).deleteFile();
        RecentHosts::getOlderAddressFile (folder).deleteFile();

        if (c.current.isNotEmpty())
            writeCurrent (c.current);

        if (c.older.isNotEmpty())
            writeOlder (c.older);

        EXPECT_EQ (RecentHosts::load (folder), c.expected) << c.name;
    }
}

TEST_F (RecentHostsFiles, HostileFilesLoadWhatPassesAndNeverStall)
{
    // A folder where the file should be.
    ASSERT_TRUE (RecentHosts::getRecentIpsFile (folder).createDirectory());
    writeOlder ("10.9.9.9");
    EXPECT_EQ (RecentHosts::load (folder), juce::StringArray ("10.9.9.9"));
    RecentHosts::getRecentIpsFile (folder).deleteRecursively();

    // Binary and invalid UTF-8 around valid lines.
    juce::MemoryOutputStream binary;
    binary << "10.0.0.1\n";
    for (int i = 0; i < 4096; ++i)
        binary.writeByte ((char) (i * 37 % 256));
    binary << "\n\xff\xfe\xc3(10.0.0.2\n10.0.0.3\n";
    ASSERT_TRUE (RecentHosts::getRecentIpsFile (folder).replaceWithData (binary.getData(), binary.getDataSize()));
    auto loaded = RecentHosts::load (folder);
    EXPECT_TRUE (loaded.contains ("10.0.0.1") && loaded.contains ("10.0.0.3")) << loaded.joinIntoString (",");
    EXPECT_FALSE (loaded.contains ("10.0.0.2"));

    // A huge file: one huge line, then addresses beyond the part that is read.
    {
        juce::FileOutputStream out (RecentHosts::getRecentIpsFile (folder));
        out.setPosition (0);
        out.truncate();
        out << "10.1.1.1\n";
        juce::HeapBlock<char> junk (1 << 20);
        std::memset (junk.get(), 'x', 1 << 20);
        for (int i = 0; i < 8; ++i)
            out.write (junk.get(), 1 << 20);
        out << "\n10.2.2.2\n";
    }

    EXPECT_EQ (RecentHosts::load (folder), juce::StringArray ("10.1.1.1"));
}

TEST_F (RecentHostsFiles, SavingWritesCrLfBetweenLinesAndNothingAfterTheLast)
{
    ASSERT_TRUE (RecentHosts::save (folder, { "192.168.1.20", "10.0.0.5" }));
    EXPECT_EQ (currentBytes(), juce::MemoryBlock ("192.168.1.20\r\n10.0.0.5", 22));

    ASSERT_TRUE (RecentHosts::save (folder, { "10.0.0.5" }));
    EXPECT_EQ (currentBytes(), juce::MemoryBlock ("10.0.0.5", 8));

    // No hidden temporary file is left behind.
    EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFiles | juce::File::ignoreHiddenFiles), 1);
    EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFiles), 1);

    // The folder is created when missing.
    auto nested = folder.getChildFile ("a/b");
    ASSERT_TRUE (RecentHosts::save (nested, { "1.2.3.4" }));
    EXPECT_EQ (RecentHosts::load (nested), juce::StringArray ("1.2.3.4"));
}

TEST_F (RecentHostsFiles, AFailedSaveKeepsTheOldFile)
{
    ASSERT_TRUE (RecentHosts::save (folder, { "10.0.0.1", "10.0.0.2" }));
    const auto before = currentBytes();

    // A data folder that cannot be made (a file stands in its place).
    auto notAFolder = folder.getChildFile ("plain-file");
    ASSERT_TRUE (notAFolder.replaceWithText ("x"));
    EXPECT_FALSE (RecentHosts::save (notAFolder, { "10.0.0.9" }));
    EXPECT_EQ (currentBytes(), before);

    auto blocked = folder.getChildFile ("blocked");
    ASSERT_TRUE (RecentHosts::getRecentIpsFile (blocked).createDirectory());
    EXPECT_FALSE (RecentHosts::save (blocked, { "10.0.0.9" }));
    EXPECT_TRUE (RecentHosts::getRecentIpsFile (blocked).isDirectory());
}

TEST (RecentHosts, TheNewestAddressGoesFirstOnceAndTheOldestDropsAfterEight)
{
    const juce::StringArray eight { "1.0.0.1", "1.0.0.2", "1.0.0.3", "1.0.0.4", "1.0.0.5", "1.0.0.6", "1.0.0.7",
        "1.0.0.8" };

    EXPECT_EQ (RecentHosts::withAddressFirst (eight, "1.0.0.4"),
        (juce::StringArray { "1.0.0.4", "1.0.0.1", "1.0.0.2", "1.0.0.3", "1.0.0.5", "1.0.0.6", "1.0.0.7", "1.0.0.8" }));
    EXPECT_EQ (RecentHosts::withAddressFirst (eight, "1.0.0.9"),
        (juce::StringArray { "1.0.0.9", "1.0.0.1", "1.0.0.2", "1.0.0.3", "1.0.0.4", "1.0.0.5", "1.0.0.6", "1.0.0.7" }));
    EXPECT_EQ (RecentHosts::withAddressFirst ({}, "1.0.0.1"), juce::StringArray ("1.0.0.1"));
}

TEST_F (RecentHostsFiles, AFileReplacedByJunkNeverStallsAndTheNextSaveMendsIt)
{
    const auto target = RecentHosts::getRecentIpsFile (folder);

    // 100 MB of zeros (sparse, so quick to make), then a binary file, each in place of the list.
    {
        juce::FileOutputStream out (target);
        ASSERT_TRUE (out.openedOk());
        ASSERT_TRUE (out.setPosition (100 * 1024 * 1024 - 1));
        out.writeByte (0);
    }

    EXPECT_TRUE (RecentHosts::load (folder).isEmpty());
    ASSERT_TRUE (RecentHosts::save (folder, { "10.0.0.7" }));
    EXPECT_EQ (currentBytes(), juce::MemoryBlock ("10.0.0.7", 8));

    juce::MemoryBlock binary;
    for (int i = 0; i < 65536; ++i)
        binary.append ("\x00\xff\x7f\x0a", (size_t) (1 + i % 4));
    ASSERT_TRUE (target.replaceWithData (binary.getData(), binary.getSize()));
    EXPECT_TRUE (RecentHosts::load (folder).isEmpty());
    ASSERT_TRUE (RecentHosts::save (folder, { "10.0.0.8", "10.0.0.7" }));
    EXPECT_EQ (RecentHosts::load (folder), juce::StringArray ({ "10.0.0.8", "10.0.0.7" }));
}

TEST_F (RecentHostsFiles, AReadOnlyDataFolderKeepsWhatWasSavedBefore)
{
    ASSERT_TRUE (RecentHosts::save (folder, { "10.0.0.1", "10.0.0.2" }));
    const auto before = currentBytes();

    // A read-only mount of the folder, made in a child of its own mount namespace so that
    // nothing outside the child sees it (permission bits alone do not stop root).
    const auto child = fork();
    ASSERT_GE (child, 0);

    if (child == 0)
    {
        const auto path = folder.getFullPathName().toStdString();

        if (unshare (CLONE_NEWNS) != 0 || mount (nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || mount (path.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) != 0
            || mount (nullptr, path.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            _exit (77);

        const auto saved = RecentHosts::save (folder, { "10.0.0.9" });
        const auto loaded = RecentHosts::load (folder);
        _exit (! saved && loaded == juce::StringArray ({ "10.0.0.1", "10.0.0.2" }) ? 0 : 1);
    }

    int status = 0;
    ASSERT_EQ (waitpid (child, &status, 0), child);
    ASSERT_TRUE (WIFEXITED (status));

    if (WEXITSTATUS (status) == 77)
        GTEST_SKIP() << "no permission for a private read-only mount here";

    EXPECT_EQ (WEXITSTATUS (status), 0) << "the save claimed success or the list changed";
    EXPECT_EQ (currentBytes(), before);
    EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFiles), 1);
}

TEST_F (RecentHostsFiles, KillingTheProgramDuringAThousandSavesNeverLeavesAPartialFile)
{
    const juce::StringArray lists[] = { { "192.168.100.101", "192.168.100.102", "192.168.100.103", "192.168.100.104",
                                            "192.168.100.105", "192.168.100.106", "192.168.100.107",
                                            "192.168.100.108" },
        { "10.0.0.1" } };
    const juce::String texts[] = { RecentHosts::fileText (lists[0]), RecentHosts::fileText (lists[1]) };

    // A kill cannot undo what the kernel has been given, whatever the disk: on a memory file
    // system a save takes microseconds instead of a disk flush's milliseconds, so the same
    // thousand saves give many more moments to be killed at.
    if (juce::File ("/dev/shm").isDirectory())
    {
        folder.deleteRecursively();
        folder = juce::File ("/dev/shm").getNonexistentChildFile ("recent", "");
        ASSERT_TRUE (folder.createDirectory());
    }

    ASSERT_TRUE (RecentHosts::save (folder, lists[0]));
    const auto started = juce::Time::getMillisecondCounterHiRes();

    for (int i = 0; i < 20; ++i)
        RecentHosts::save (folder, lists[0]);

    const auto microsecondsPerSave =
        juce::jmax (1, (int) ((juce::Time::getMillisecondCounterHiRes() - started) * 50.0));

    // The child saves the two lists in turn as fast as it can and counts its saves in memory
    // shared with the test; the test kills it at a random moment, over and over.
    auto* saves = static_cast<std::atomic<int>*> (
        mmap (nullptr, sizeof (std::atomic<int>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE (saves, MAP_FAILED);
    new (saves) std::atomic<int> (0);

    juce::Random random (1234);
    int kills = 0;

    while (saves->load() < 1000)
    {
        const auto child = fork();
        ASSERT_GE (child, 0);

        if (child == 0)
        {
            for (int i = 0;; ++i)
            {
                RecentHosts::save (folder, lists[i % 2]);
                saves->fetch_add (1);
            }
        }

        std::this_thread::sleep_for (std::chrono::microseconds (random.nextInt (2000 + 20 * microsecondsPerSave)));
        kill (child, SIGKILL);
        int status = 0;
        ASSERT_EQ (waitpid (child, &status, 0), child);
        ++kills;

        const auto bytes = currentBytes();
        const auto text = bytes.toString();
        ASSERT_TRUE (text == texts[0] || text == texts[1])
            << "after " << saves->load() << " saves and " << kills << " kills: " << bytes.getSize() << " bytes";
    }

    EXPECT_FALSE (RecentHosts::load (folder).isEmpty());
    std::cout << "[ figures  ] " << saves->load() << " saves, " << kills << " kills, "
              << folder.getNumberOfChildFiles (juce::File::findFiles) - 1 << " interrupted temporary files, "
              << microsecondsPerSave << " us a save\n";
    munmap (saves, sizeof (std::atomic<int>));

    // The temporary files of killed saves go with a later save once they are old enough not to
    // belong to a save still running.
    for (auto& leftover : folder.findChildFiles (juce::File::findFiles, false, ".*"))
        leftover.setLastModificationTime (juce::Time::getCurrentTime() - juce::RelativeTime::minutes (2));

    ASSERT_TRUE (RecentHosts::save (folder, lists[1]));
    EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFiles), 1);
    folder.deleteRecursively();
}
