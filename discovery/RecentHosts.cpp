#include "RecentHosts.h"

bool RecentHosts::isLikelyIPv4 (const juce::String& text)
{
    if (text.isEmpty() || text.length() > 15)
        return false;

    int stops = 0;

    for (auto p = text.getCharPointer(); ! p.isEmpty(); ++p)
    {
        auto c = *p;

        if (c == '.')
            ++stops;
        else if (c < '0' || c > '9')
            return false;
    }

    return stops == 3;
}

juce::File RecentHosts::getRecentIpsFile (const juce::File& dataFolder)
{
    return dataFolder.getChildFile ("RecentIPs.txt");
}

juce::File RecentHosts::getOlderAddressFile (const juce::File& dataFolder)
{
    return dataFolder.getChildFile ("QUENTARO Remote.ip");
}

juce::String RecentHosts::lineText (const char* bytes, size_t size)
{
    // Only ASCII can make an address. Any other byte makes the line one replacement character
    // (still a line, so the older file's text holding it reads as no address): the framework's
    // UTF-8 reading is never handed bytes that may not be valid UTF-8, on which it can build a
    // string that lacks its terminator.
    for (size_t i = 0; i < size; ++i)
        if ((unsigned char) bytes[i] >= 0x80)
            return juce::String::charToString (0xfffd);

    return juce::String::fromUTF8 (bytes, (int) size);
}

juce::StringArray RecentHosts::readLines (const juce::File& file)
{
    juce::StringArray lines;

    if (! file.existsAsFile())
        return lines;

    juce::FileInputStream in (file);

    if (! in.openedOk())
        return lines;

    juce::MemoryOutputStream line;
    bool tooLong = false;
    char buffer[8192];
    juce::int64 total = 0;

    auto finishLine = [&]
    {
        if (! tooLong)
            lines.add (lineText (static_cast<const char*> (line.getData()), line.getDataSize()));

        line.reset();
        tooLong = false;
    };

    while (total < maxBytesRead && ! in.isExhausted())
    {
        auto n = in.read (buffer, (int) juce::jmin ((juce::int64) sizeof (buffer), maxBytesRead - total));

        if (n <= 0)
            break;

        total += n;

        for (int i = 0; i < n; ++i)
        {
            auto c = buffer[i];

            if (c == '\n' || c == '\r')
            {
                // CR LF, LF and a lone CR all end a line; the LF of CR LF then ends an empty one.
                finishLine();
            }
            else if (! tooLong)
            {
                if (line.getDataSize() >= (size_t) maxLineBytes)
                    tooLong = true;
                else
                    line.writeByte (c);
            }
        }
    }

    finishLine();
    return lines;
}

juce::StringArray RecentHosts::load (const juce::File& dataFolder)
{
    juce::StringArray list;

    for (auto& line : readLines (getRecentIpsFile (dataFolder)))
    {
        auto address = line.trim();

        if (isLikelyIPv4 (address) && ! list.contains (address))
            list.add (address);

        if (list.size() >= maxEntries)
            break;
    }

    if (list.isEmpty())
    {
        auto older = readLines (getOlderAddressFile (dataFolder)).joinIntoString ("\n").trim();

        if (isLikelyIPv4 (older))
            list.add (older);
    }

    return list;
}

juce::StringArray RecentHosts::withAddressFirst (juce::StringArray list, const juce::String& ipAddress)
{
    list.removeString (ipAddress);
    list.insert (0, ipAddress);

    while (list.size() > maxEntries)
        list.remove (list.size() - 1);

    return list;
}

juce::String RecentHosts::fileText (const juce::StringArray& list)
{
    return list.joinIntoString ("\r\n");
}

bool RecentHosts::save (const juce::File& dataFolder, const juce::StringArray& list)
{
    if (! dataFolder.isDirectory() && ! dataFolder.createDirectory())
        return false;

    const auto target = getRecentIpsFile (dataFolder);

    if (target.isDirectory())
        return false;

    // Written in full to a hidden temporary file beside the target, flushed to disk, and only
    // then moved over it: a reader, a crash or a full disk never leaves half a file behind.
    const juce::TemporaryFile temporary (target, juce::TemporaryFile::useHiddenFile);
    const auto bytes = fileText (list).toStdString();

    {
        juce::FileOutputStream out (temporary.getFile());

        if (! out.openedOk() || ! out.write (bytes.data(), bytes.size()))
            return false;

        out.flush();

        if (out.getStatus().failed())
            return false;
    }

    if (temporary.getFile().getSize() != (juce::int64) bytes.size())
        return false;

    if (! temporary.overwriteTargetFileWithTemporary())
        return false;

    removeInterruptedSaves (dataFolder);
    return true;
}

void RecentHosts::removeInterruptedSaves (const juce::File& dataFolder)
{
    // A save killed between writing its temporary file and moving it leaves that file behind.
    // Only old ones go: a younger one may belong to another copy of the program saving now.
    const auto pattern = "." + getRecentIpsFile (dataFolder).getFileNameWithoutExtension() + "_temp*";
    const auto cutOff = juce::Time::getCurrentTime() - juce::RelativeTime::seconds (60.0);

    for (auto& leftover : dataFolder.findChildFiles (juce::File::findFiles, false, pattern))
        if (leftover.getLastModificationTime() < cutOff)
            leftover.deleteFile();
}
