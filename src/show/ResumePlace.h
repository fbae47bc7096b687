#pragma once
// --resume: the place where the last show of a collection ended (the entry
// showing, a clip's position), kept for the next show of the same file.
//
// One small text file per collection in the user's state folder
// (platform::UserStateDirectory), named after a hash of the collection's
// canonical path and naming that path inside, so a file of another
// collection is never taken for this one's. The collection itself is never
// written. The file is replaced atomically when the show ends: through
// vb::EndProgram (input, the remote's quit, a host's window gone) and on a
// termination signal (a screensaver host's SIGTERM, through
// platform::BeforeSignalEnd). A file that is broken, not the user's own or
// another collection's is logged and ignored. GUI thread.

#include <QByteArray>
#include <QString>
#include <optional>

namespace config {
class MovieCollection;
}  // namespace config

namespace show {

// What the file holds. entryFile tells whether the entry at that position
// is still the one that was shown (the collection may have changed since).
struct Place {
    QString collection;  // canonical path
    int entry = 1;       // 1-based position
    QString entryFile;   // its Path and MovieName
    double seconds = 0;  // a clip's position when the show ended
};

QByteArray PlaceText(const Place& place);
// Nothing when the text is not such a record.
std::optional<Place> ReadPlaceText(const QByteArray& text);

// Where a resumed show starts: at the beginning (entry 0: none kept) unless
// the place kept for that collection names an entry that is still there; a
// second before the position it had reached, not below 0.
struct ResumeStart {
    qint16 entry = 0;
    double seconds = 0;
};
ResumeStart StartAt(const std::optional<Place>& kept, const QString& collection, config::MovieCollection& entries);

// The start for the collection Initialise read, from the user's state folder.
ResumeStart KeptStart();
// Keeps the entry showing (gCurrentIndex) and a visible clip's position for
// the collection Initialise read; a failed write is logged.
void SavePlace();
// From now on the end of the program keeps the place of the show playing (SavePlace).
void KeepPlaceAtEnd();

}  // namespace show
