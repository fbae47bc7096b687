#include "startup/Usage.h"

#include "startup/ShowSwitches.h"

namespace startup {

#ifndef ZOR_VERSION
#error "the build names the program's version in ZOR_VERSION"
#endif

QString UsageText() {
    return QStringLiteral(
        "Usage: zorscr [SHOW SWITCHES] [/S | /C | /A | /P ID]\n"
        "       zorscr [SHOW SWITCHES] COLLECTION\n"
        "       zorscr [SHOW SWITCHES] (--root | --window-id ID) [--] [COLLECTION]\n"
        "       zorscr --idle SECONDS [SHOW SWITCHES] [--] [COLLECTION]\n"
        "       zorscr --setup xscreensaver\n"
        "       zorscr --help | --version\n"
        "\n"
        "Plays the movies, pictures and web pages of a collection file as an endless\n"
        "show; without one, ZORScr.INI in the program's settings folder.\n"
        "\n"
        "Run modes:\n"
        "  /S, /C, no argument   full-screen show on every screen; input ends it\n"
        "  COLLECTION            full-screen show of that collection file\n"
        "  /P ID                 nine seconds of preview inside the X window with that id\n"
        "  /A                    set the screensaver password\n"
        "  --root, -root         show inside $XSCREENSAVER_WINDOW, else on the root window\n"
        "                        (how xscreensaver starts its display modes)\n"
        "  --window-id ID        show inside the X window ID (decimal or 0x hexadecimal)\n"
        "  --idle SECONDS        wait until the session has had no input that long (as the\n"
        "                        Wayland compositor, GNOME or the X server tells), show,\n"
        "                        and after input wait again; SIGTERM ends it\n"
        "  --                    the next argument is the collection, even with a dash\n"
        "\n"
        "Show switches (any run mode; without them the show is as its collection has it):\n") +
           ShowSwitchUsage() +
           QStringLiteral(
        "\n"
        "Switches:\n"
        "  --setup xscreensaver  add ZORScr to the programs list in ~/.xscreensaver\n"
        "  --fps, -fps           accepted from xscreensaver and ignored\n"
        "  -h, --help            print this help\n"
        "  --version             print the version\n"
        "\n"
        "Environment:\n"
        "  DISPLAY               the X display to show on\n"
        "  WAYLAND_DISPLAY, DBUS_SESSION_BUS_ADDRESS\n"
        "                        where the idle mode asks whether the session is idle\n"
        "  XSCREENSAVER_WINDOW   the window xscreensaver gives its display mode\n"
        "  XDG_CONFIG_HOME       an installed copy keeps ZORScr.INI and its error logs\n"
        "                        in its ZORScr folder (default ~/.config/ZORScr)\n"
        "  XDG_RUNTIME_DIR, XDG_CACHE_HOME\n"
        "                        where the lock files go (the first when it is private)\n"
        "  ZORSCR_PLATFORM       98 or 95: ending the show asks for the password\n"
        "  ZORSCR_MPV_HEADLESS   1: play without picture and sound\n"
        "  ZORSCR_PLAYER_TIMING  1: write the timing of each change of clip to standard error\n"
        "  PULSE_SERVER          the sound server to play to\n"
        "\n"
        "Exit status:\n"
        "  0  the show ended, or the switch did its job\n"
        "  1  it could not show (no display, a collection it cannot read or write back,\n"
        "     a host window that is not there) or the setup failed; the reason is on\n"
        "     standard error\n"
        "  2  a command line it cannot read\n");
}

QString VersionText() { return QStringLiteral("ZORScr " ZOR_VERSION); }

}  // namespace startup
