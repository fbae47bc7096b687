#pragma once
// The four sections of one collection entry as the show's loader reads
// them: by position, so every key is written, in order, with the values a
// new entry gets from the loader unless the entry's facts or the user's
// options say otherwise.

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

#include "platform/media/MediaProbe.h"

namespace collect {

// What the user asked for the entries of one add (unset: the default).
struct EntryOptions {
    std::optional<double> speed;      // rate, 0.1 to 100 (1 = normal)
    std::optional<double> volumeDb;   // -100 to 0
    std::optional<double> balanceDb;  // -100 (left only) to 100 (right only)
    std::optional<double> loopStart, loopEnd;  // seconds
    bool loopForever = false;
    std::optional<int> playSize;  // pixels, the side of the square the entry plays in
    bool fullScreen = true;  // videos and pictures fill the screen; sounds and pages have no size to keep
};

// One entry to add: a file (folder ending in "/" and name) or an address.
struct NewEntry {
    QString folder;
    QString name;
    platform::media::MediaFacts facts;
};

using Section = std::pair<QString, QStringList>;  // name, "key=value" lines

// Entry n's sections: Main, Audio, Looping, Display.
std::vector<Section> EntrySections(int n, const NewEntry& entry, const EntryOptions& options);

// The suffixes of an entry's sections, in the loader's order.
const QStringList& EntrySuffixes();

// The text of a value that the loader reads back exactly: quoted when it
// starts or ends with a space or a quote, which the reader would trim or
// take for quotes. nullopt for text no value can hold: a line break or a NUL.
std::optional<QString> ValueText(const QString& value);

// Twips per pixel of the 96-DPI screen play sizes are given for.
constexpr int kTwipsPerPixel = 15;

}  // namespace collect
