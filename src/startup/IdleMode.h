#pragma once
// The idle mode, for desktops without a screensaver host:
//   ZORScr --idle SECONDS [show switches] [--] [collection]
// waits until the session has had no input for SECONDS, runs the show (a
// copy of this program on the collection, as a full-screen show; the
// program INI without one), and once the show has ended waits for the next
// idle period. SIGTERM, SIGINT or SIGHUP end it and the show it runs.
//
// Idleness is the desktop's word (platform/ui/SessionIdle). Waiting sleeps
// on the desktop's news (Wayland) or until the earliest moment the session
// can have been idle long enough, asking again then, so it costs no
// processor time in between.

#include <QString>
#include <QStringList>
#include <optional>

#include "state/ShowOptions.h"

namespace startup {

struct IdleArguments {
    int seconds = 0;
    state::ShowOptions options;  // as the show switches after SECONDS chose; each show gets them
    QString collection;  // the arguments after those (and "--"), joined with spaces
    QString error;       // why the arguments cannot be used; empty when they can
};

// Nothing when the arguments do not start with "--idle".
std::optional<IdleArguments> ReadIdleArguments(const QStringList& arguments);

// Runs until a termination signal; the exit status: 0 then, 1 when the
// desktop cannot tell idleness (the reason on standard error).
int RunIdleMode(const IdleArguments& idle);

}  // namespace startup
