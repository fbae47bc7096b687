#include "show/ShowRules.h"

#include <algorithm>

#include "config/EntryAddress.h"
#include "config/Movie.h"
#include "platform/media/MediaSource.h"
#include "platform/ui/Twips.h"
#include "platform/vb/VbConvert.h"
#include "show/Med_Saver.h"
#include "state/ShowOptions.h"

using namespace config;

namespace show {

namespace {
constexpr qint32 kEndlessPlays = 30000;
constexpr double kNormalSpeed = 10;    // Playspeed of rate 1
}  // namespace

QString LocalFileName(const Movie& entry) {
    if (const int track = CdTrackNumber(entry.MovieName())) return platform::media::CdTrackSource(track);
    return entry.Path() + entry.MovieName();
}

void FileNameRule(Med_Saver& player, const Movie& entry) {
    if (!IsAddress(entry.MovieName())) {
        player.LetFileName(LocalFileName(entry));
        return;
    }
    player.LetAddressMode(true);
    player.LetFileName(entry.MovieName());
}

namespace {

void FillScreen(Med_Saver& player) {
    player.LetHeight(platform::ScreenHeight());
    player.LetWidth(platform::ScreenWidth());
    player.LetTop(0);
    player.LetLeft(0);
}

void CentreOnScreen(Med_Saver& player) {
    player.LetLeft(platform::ScreenWidth() / 2 - player.Width() / 2);
    player.LetTop(platform::ScreenHeight() / 2 - player.Height() / 2);
}

}  // namespace

void LayoutRule(Med_Saver& player, Movie& entry) {
    if (entry.PlayFullScreen()) {
        FillScreen(player);
        player.LetDisplaySize(state::TheShowOptions().fill ? Med_Saver::kCoverControl : Med_Saver::kFitToControl);
        return;
    }
    if (entry.Playsize() == 0) {
        player.LetDisplaySize(Med_Saver::kOwnSize);
        KeepOwnSize(player, entry);
        return;
    }
    player.LetHeight(static_cast<float>(entry.Playsize()));
    player.LetWidth(static_cast<float>(entry.Playsize()));
    player.LetDisplaySize(Med_Saver::kFitToControl);
    CentreOnScreen(player);
}

void KeepOwnSize(Med_Saver& player, Movie& entry) {
    entry.LetPlaysize(vb::CLng(static_cast<double>(player.Height())));  // the next showing uses this size
    CentreOnScreen(player);
}

void FollowScreen(Med_Saver& player, const Movie& entry) {
    if (entry.PlayFullScreen())
        FillScreen(player);
    else
        CentreOnScreen(player);
}

QString EntryExtension(const QString& name) {
    const qsizetype nul = name.indexOf(QChar(u'\0'));
    const QString tail = (nul < 0 ? name : name.left(nul)).right(3);
    const qsizetype dot = tail.indexOf(u'.');
    return dot < 0 ? tail : tail.mid(dot + 1);
}

void ConfigurePlay(Med_Saver& player, Movie& entry, qint32 balance, bool repeat) {
    ConfigureClip(player, entry, balance, repeat);
    LayoutRule(player, entry);
}

int PositionAfter(int position, int steps, int count) { return (std::max(position, 1) - 1 + steps) % count + 1; }

bool PreparedAhead(const Movie& entry) {
    return !entry.IsHTML() && !(entry.IsStill() && !entry.IsTrueRM()) && !IsAddress(LocalFileName(entry));
}

void ConfigureClip(Med_Saver& player, Movie& entry, qint32 balance, bool repeat) {
    player.LetAutoStart(false);
    player.LetDisplayMode(0);
    FileNameRule(player, entry);
    player.LetRate(entry.Playspeed() / kNormalSpeed);
    player.LetBalance(balance);
    // The record keeps the attenuation as a positive number; the text
    // round trip is how the player receives it negated.
    player.LetVolume(vb::CLng(QStringLiteral("-") + QString::number(entry.volume())));
    player.LetSelectionStart(entry.LoopStart().ToDouble());
    player.LetCurrentPosition(player.SelectionStart());  // playback starts at the loop start
    player.LetSelectionEnd(entry.LoopEnd().ToDouble());
    player.LetPlayCount(repeat ? kEndlessPlays : 1);
}

}  // namespace show
