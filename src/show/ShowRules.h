#pragma once
// The rules that the show window's load step and the show loop share: how an
// entry's file name reaches the player, how the player is placed on the
// screen, the extension of an entry's name, and the settings of one play.

#include <QString>

namespace config {
class Movie;
}  // namespace config

namespace show {

class Med_Saver;

// Path followed by MovieName: the file of an entry that is not an address;
// for a CD track ("TrackNN.cda") the player's source of that track.
QString LocalFileName(const config::Movie& entry);

// Path followed by MovieName; an address ("://" in the name) is given alone,
// after the player has been switched to address mode.
void FileNameRule(Med_Saver& player, const config::Movie& entry);

// Full screen and fitted (covered and cropped with --fill); or, at play size 0, the clip's own size (which
// becomes the entry's play size); or a fitted square of the play size. The
// last two are centred on the screen.
void LayoutRule(Med_Saver& player, config::Movie& entry);
// The own-size part of the rule, again when the clip gives its size late:
// the player's height becomes the entry's play size, and it is centred.
void KeepOwnSize(Med_Saver& player, config::Movie& entry);
// The placement part of the rule alone, for a screen that changed size: a
// full-screen entry fills it again, any other keeps its size and is centred.
void FollowScreen(Med_Saver& player, const config::Movie& entry);

// The last three characters of name (cut at its first NUL), after the first
// "." among them if they hold one: "track01.cda" gives "cda", "clip.qt" "qt".
QString EntryExtension(const QString& name);

// Everything the player needs for one play of entry, from its start mode to
// its place on the screen: file name, speed, balance (as given), volume,
// the part played and the number of plays (30000 when repeat, else 1).
void ConfigurePlay(Med_Saver& player, config::Movie& entry, qint32 balance, bool repeat);
// The same without the place on the screen (LayoutRule): for a player that
// is placed by another rule.
void ConfigureClip(Med_Saver& player, config::Movie& entry, qint32 balance, bool repeat);

// The position steps entries after position (1 to count, wrapping to the
// first after the last); a position below 1 counts as 1.
int PositionAfter(int position, int steps, int count);

// Whether the player may ready entry ahead of its turn: a clip file, not a
// page or a still, nor an address (its early opening would hold a
// connection or a live stream) or a CD track (one reader of the drive at a
// time).
bool PreparedAhead(const config::Movie& entry);

}  // namespace show
