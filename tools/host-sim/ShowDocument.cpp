#include "ShowDocument.h"

#include <algorithm>
#include <cmath>

namespace
{
bool isNumber (const juce::var& value)
{
    return value.isInt() || value.isInt64() || value.isDouble();
}

/** Whole numbers are written as such, so the page gets 48000, not 48000.0, and a document
    read from a file goes back out as it came. */
juce::var numberVar (double value)
{
    if (std::abs (value) < 9.0e15 && value == std::floor (value))
        return (juce::int64) value;

    return value;
}

juce::var object (std::initializer_list<std::pair<const char*, juce::var>> properties)
{
    auto* result = new juce::DynamicObject();

    for (auto& [name, value] : properties)
        result->setProperty (name, value);

    return juce::var (result);
}

/** Reads an optional key of an object: absent gives the fallback; present must pass the check. */
class Reader
{
public:
    Reader (juce::var objectToRead, juce::String where, juce::String& errorToSet)
        : source (std::move (objectToRead)), context (std::move (where)), error (errorToSet)
    {}

    bool has (const char* key) const { return source.hasProperty (key); }

    double number (const char* key, double fallback, double minimum)
    {
        if (! has (key))
            return fallback;

        auto value = source[key];

        if (! isNumber (value) || ! std::isfinite ((double) value) || (double) value < minimum)
        {
            fail (juce::String (key) + " must be a number of at least " + juce::String (minimum));
            return fallback;
        }

        return (double) value;
    }

    int integer (const char* key, int fallback, int minimum)
    {
        auto value = number (key, fallback, minimum);

        if (value != std::floor (value) || value > std::numeric_limits<int>::max())
        {
            fail (juce::String (key) + " must be a whole number");
            return fallback;
        }

        return (int) value;
    }

    bool boolean (const char* key)
    {
        if (! has (key))
            return false;

        if (! source[key].isBool())
            fail (juce::String (key) + " must be true or false");

        return (bool) source[key];
    }

    juce::String text (const char* key)
    {
        if (has (key) && ! source[key].isString())
            fail (juce::String (key) + " must be a string");

        return source[key].toString();
    }

    /** The array under the key (absent counts as empty); each element must be an object. */
    const juce::Array<juce::var>* objects (const char* key)
    {
        static const juce::Array<juce::var> none;

        if (! has (key))
            return &none;

        auto* array = source[key].getArray();

        if (array == nullptr)
        {
            fail (juce::String (key) + " must be an array");
            return &none;
        }

        for (auto& element : *array)
        {
            if (! element.isObject())
            {
                fail (juce::String (key) + " must hold objects only");
                return &none;
            }
        }

        return array;
    }

    /** When present, a song cue reference must name the song it sits in. */
    void songCue (int cue)
    {
        if (has ("songCue") && integer ("songCue", cue, std::numeric_limits<int>::min()) != cue)
            fail ("songCue must be " + juce::String (cue));
    }

    void fail (const juce::String& reason)
    {
        if (error.isEmpty())
            error = context + ": " + reason;
    }

    bool ok() const { return error.isEmpty(); }

private:
    juce::var source; // shares the object, so the arrays handed out live as long as the reader
    juce::String context;
    juce::String& error;
};
} // namespace

//==============================================================================
const ShowDocument::Marker* ShowDocument::Song::findMarker (int index) const
{
    for (auto& marker : markers)
        if (marker.index == index)
            return &marker;

    return nullptr;
}

juce::int64 ShowDocument::Song::loopEndMs (const Marker& marker) const
{
    auto end = lengthMs;

    for (auto& other : markers)
        if (other.position > marker.position)
            end = std::min (end, (juce::int64) std::llround (other.position));

    return end;
}

const ShowDocument::Song* ShowDocument::findSong (int cue) const
{
    return cue >= 0 && cue < size() ? &songs[(size_t) cue] : nullptr;
}

juce::String ShowDocument::toJson (int loopSongCue, int loopMarkerNum) const
{
    juce::Array<juce::var> document;

    for (int cue = 0; cue < size(); ++cue)
    {
        auto& song = songs[(size_t) cue];
        juce::Array<juce::var> markers, tempos, signatures;

        for (auto& marker : song.markers)
            markers.add (object (
                { { "index", marker.index }, { "position", numberVar (marker.position) }, { "name", marker.name },
                    { "songCue", cue }, { "loopActive", cue == loopSongCue && marker.index == loopMarkerNum } }));

        for (auto& tempo : song.tempos)
            tempos.add (object (
                { { "bpm", numberVar (tempo.bpm) }, { "position", numberVar (tempo.position) }, { "songCue", cue } }));

        for (auto& signature : song.timeSignatures)
            signatures.add (object ({ { "numerator", signature.numerator }, { "denominator", signature.denominator },
                { "position", numberVar (signature.position) }, { "songCue", cue } }));

        document.add (
            object ({ { "cue", cue }, { "songname", song.name }, { "tracks", song.tracks }, { "markers", markers },
                { "tempos", tempos }, { "timesignature", signatures }, { "file_missing", song.fileMissing } }));
    }

    // ASCII only: the text ends up inside a script statement in the remote's page.
    return juce::JSON::toString (document,
        juce::JSON::FormatOptions {}
            .withSpacing (juce::JSON::Spacing::none)
            .withEncoding (juce::JSON::Encoding::ascii));
}

std::optional<ShowDocument::Song> ShowDocument::songFromVar (const juce::var& source, int cue, juce::String& error)
{
    Reader reader (source, "song " + juce::String (cue), error);
    Song song;

    if (reader.has ("cue") && reader.integer ("cue", cue, std::numeric_limits<int>::min()) != cue)
        reader.fail ("cue must be " + juce::String (cue) + ", its place in the show");

    song.id = reader.integer ("id", cue + 1, 0);
    song.name = reader.text ("songname");
    song.tracks = reader.integer ("tracks", 0, 0);
    song.fileMissing = reader.boolean ("file_missing");

    double last = 0.0;
    auto* markers = reader.objects ("markers");

    for (int i = 0; i < markers->size() && reader.ok(); ++i)
    {
        Reader markerReader (markers->getReference (i), "song " + juce::String (cue) + " marker " + juce::String (i),
            error);
        Marker marker;
        marker.index = markerReader.integer ("index", i, 0);
        marker.position = markerReader.number ("position", 0.0, 0.0);
        marker.name = markerReader.text ("name");
        marker.loopActive = markerReader.boolean ("loopActive");
        markerReader.songCue (cue);

        if (song.findMarker (marker.index) != nullptr)
            markerReader.fail ("marker number " + juce::String (marker.index) + " is used twice");

        last = std::max (last, marker.position);
        song.markers.push_back (marker);
    }

    auto* tempos = reader.objects ("tempos");

    for (int i = 0; i < tempos->size() && reader.ok(); ++i)
    {
        Reader tempoReader (tempos->getReference (i), "song " + juce::String (cue) + " tempo " + juce::String (i),
            error);
        Tempo tempo;
        tempo.bpm = tempoReader.number ("bpm", 120.0, 1.0);
        tempo.position = tempoReader.number ("position", 0.0, 0.0);
        tempoReader.songCue (cue);
        last = std::max (last, tempo.position);
        song.tempos.push_back (tempo);
    }

    auto* signatures = reader.objects ("timesignature");

    for (int i = 0; i < signatures->size() && reader.ok(); ++i)
    {
        Reader signatureReader (signatures->getReference (i),
            "song " + juce::String (cue) + " time signature " + juce::String (i), error);
        TimeSignature signature;
        signature.numerator = signatureReader.integer ("numerator", 4, 1);
        signature.denominator = signatureReader.integer ("denominator", 4, 1);
        signature.position = signatureReader.number ("position", 0.0, 0.0);
        signatureReader.songCue (cue);
        last = std::max (last, signature.position);
        song.timeSignatures.push_back (signature);
    }

    song.lengthMs = reader.has ("length") ? (juce::int64) std::llround (reader.number ("length", 0.0, 1.0))
                                          : (juce::int64) std::llround (last) + defaultTailMs;

    if (song.lengthMs <= (juce::int64) std::llround (last))
        reader.fail ("length must lie after every marker, tempo and time signature");

    if (! reader.ok())
        return std::nullopt;

    return song;
}

std::optional<ShowDocument> ShowDocument::fromJson (const juce::String& text, juce::String& error)
{
    error.clear();
    juce::var parsed;
    auto result = juce::JSON::parse (text, parsed);

    if (result.failed())
    {
        error = "not JSON: " + result.getErrorMessage();
        return std::nullopt;
    }

    auto* array = parsed.getArray();

    if (array == nullptr)
    {
        error = "a show document is a JSON array of songs";
        return std::nullopt;
    }

    ShowDocument show;

    for (int cue = 0; cue < array->size(); ++cue)
    {
        if (! (*array)[cue].isObject())
        {
            error = "song " + juce::String (cue) + ": must be an object";
            return std::nullopt;
        }

        auto song = songFromVar ((*array)[cue], cue, error);

        if (! song)
            return std::nullopt;

        show.songs.push_back (std::move (*song));
    }

    return show;
}

std::optional<ShowDocument> ShowDocument::fromFile (const juce::File& file, juce::String& error)
{
    if (! file.existsAsFile())
    {
        error = "cannot read " + file.getFullPathName();
        return std::nullopt;
    }

    auto show = fromJson (file.loadFileAsString(), error);

    if (! show)
    {
        error = file.getFileName() + ": " + error;
        return std::nullopt;
    }

    show->name = file.getFileNameWithoutExtension();
    return show;
}
