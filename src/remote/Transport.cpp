// The transport commands: play, pause, speeds, steps, previous and next
// entry, repeat and quit. Each statement's run-time error is skipped and the
// next one runs; a command with no show window to act on only raises flags.

#include "config/Instances.h"
#include "config/Movie.h"
#include "password/PasswordExit.h"
#include "platform/ui/DoEvents.h"
#include "platform/vb/VbError.h"
#include "remote/FrmControl.h"
#include "show/Med_Saver.h"
#include "state/RunState.h"

using namespace state;
using namespace config;
using namespace password;
using namespace show;

namespace remote {

namespace {

constexpr qint32 kStepDisplayMode = 1;
constexpr qint32 kRepeatPlayCount = 10000;

bool NoEntries() { return gMovies().Count() == 0; }

void OnCurrentEntry(const std::function<void(Movie&)>& statement) {
    vb::ResumeNext([&] { statement(gMovies().Item(gCurrentIndex)); });
}

}  // namespace

void FrmControl::Lbl_Play_Click() {
    if (NoEntries()) return;
    OnPlayer([](Med_Saver& p) { p.LetRate(1.0); });
    OnPlayer([](Med_Saver& p) { p.LetAutoRewind(true); });
    OnPlayer([](Med_Saver& p) { p.Play(); });
}

void FrmControl::Lbl_Pause_Click() {
    if (NoEntries()) return;
    OnPlayer([](Med_Saver& p) { p.Pause(); });
}

void FrmControl::ChangeSpeed(double rate, bool onlyWhenVisible) {
    if (NoEntries()) return;
    if (onlyWhenVisible && !vb::IfResumeNext([] { return ShowPlayer().Visible(); })) return;
    OnPlayer([](Med_Saver& p) { p.Pause(); });
    OnPlayer([rate](Med_Saver& p) { p.LetRate(rate); });
    OnPlayer([](Med_Saver& p) { p.Play(); });
}

void FrmControl::Lbl_025_Click() { ChangeSpeed(0.25, false); }
void FrmControl::Lbl_50_Click() { ChangeSpeed(0.5, true); }
void FrmControl::Lbl_20_Click() { ChangeSpeed(2.0, false); }

void FrmControl::Advance(double seconds) {
    if (NoEntries()) return;
    OnPlayer([](Med_Saver& p) { p.LetDisplayMode(kStepDisplayMode); });
    OnPlayer([](Med_Saver& p) { p.Pause(); });
    platform::DoEvents();
    if (NoEntries()) return;
    if (vb::IfResumeNext([seconds] { return ShowPlayer().Duration() > ShowPlayer().CurrentPosition() + seconds; })) {
        OnPlayer([seconds](Med_Saver& p) { p.LetCurrentPosition(p.CurrentPosition() + seconds); });
    }
}

void FrmControl::Rewind(double seconds) {
    if (NoEntries()) return;
    if (!vb::IfResumeNext([seconds] { return ShowPlayer().CurrentPosition() - seconds > 0; })) return;
    OnPlayer([](Med_Saver& p) { p.LetDisplayMode(kStepDisplayMode); });
    OnPlayer([](Med_Saver& p) { p.Pause(); });
    platform::DoEvents();
    OnPlayer([seconds](Med_Saver& p) { p.LetCurrentPosition(p.CurrentPosition() - seconds); });
}

void FrmControl::Adv1() { Advance(1); }
void FrmControl::Adv5() { Advance(5); }
void FrmControl::Rew1() { Rewind(1); }
void FrmControl::Rew5() { Rewind(5); }

void FrmControl::Lbl_NextMov_Click() {
    if (gNavPos >= gMovies().Count()) return;
    SkipToNextEntry();
    platform::DoEvents();
    OnPlayer([](Med_Saver& p) { p.Pause(); });
}

void FrmControl::Lbl_PrevMov_Click() {
    if (gNavPos < 1) return;
    const int before = gNavPos - 1;
    if (gMovies().Count() > 1 && before >= 1 && before <= gMovies().Count() && gMovies().Item(before).IsTrueRM()) {
        hide();
    }
    OnPlayer([](Med_Saver& p) { p.Pause(); });
    SkipToNextEntry();
    platform::DoEvents();
    gNavPos = qint16(gNavPos - 2);
}

void FrmControl::Label10_Click() {
    if (Label10->Caption() == QLatin1String("On")) {
        gHoldRepeat = false;
        Label10->LetCaption(QString());
        OnPlayer([](Med_Saver& p) { p.LetAutoRewind(false); });
        OnPlayer([](Med_Saver& p) { p.LetPlayCount(1); });
        OnPlayer([](Med_Saver& p) { p.LetAutoStart(true); });
        OnCurrentEntry([](Movie& m) { m.LetRemoteRepeat(false); });
        OnCurrentEntry([](Movie& m) { m.LetLoopForever(false); });
    } else {
        Label10->LetCaption(QStringLiteral("On"));
        OnPlayer([](Med_Saver& p) { p.LetAutoStart(true); });
        OnPlayer([](Med_Saver& p) { p.LetAutoRewind(true); });
        OnPlayer([](Med_Saver& p) { p.LetPlayCount(kRepeatPlayCount); });
        OnPlayer([](Med_Saver& p) { p.Play(); });
        OnCurrentEntry([](Movie& m) { m.LetRemoteRepeat(true); });
        gHoldRepeat = true;
    }
}

void FrmControl::Label1_Click() {
    if (QuitRefused()) return;  // a guarded show ends only with its password
    OnCurrentEntry([](Movie& m) { m.LetLoopForever(false); });
    gHoldRepeat = false;
    OnPlayer([](Med_Saver& p) { p.LetPlayCount(1); });
    StopShow();
    gPlayPos = qint16(gMovies().Count());
    hide();
}

}  // namespace remote
