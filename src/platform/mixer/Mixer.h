#pragma once
// The sound card's master volume through ALSA, behind the Windows mixer calls
// the program makes: open device 0, find the speakers' line, its volume
// control, read and set it.
//
// Handles, line ids and control ids are small numbers (1, 2, ...) into tables
// this layer keeps for the life of the process; the program never closes its
// mixer, so neither is there a close call. UI thread only.
//
// A failing ALSA call never ends the program: the call returns an error code
// and mixerLastError() tells why. Out-pointers must point to writable storage.

#include <QString>
#include <QtGlobal>

namespace platform::mixer {

using HMIXER = quint32;  // 0 = none
constexpr quint32 MMSYSERR_NOERROR = 0;
constexpr quint32 MMSYSERR_BADDEVICEID = 2;
constexpr quint32 MMSYSERR_INVALHANDLE = 5;
constexpr quint32 MIXERR_INVALLINE = 1024;
constexpr quint32 MIXERR_INVALCONTROL = 1025;
constexpr quint32 MIXERLINE_COMPONENTTYPE_DST_SPEAKERS = 4;
constexpr quint32 MIXERCONTROL_CONTROLTYPE_VOLUME = 0x50030001;

struct MIXERCONTROL {
    quint32 dwControlID = 0;
    quint32 dwControlType = 0;
    qint32 lMinimum = 0;
    qint32 lMaximum = 0;
};

// Device 0 is ALSA's default control device ("default"); other numbers give
// MMSYSERR_BADDEVICEID. So does a default device that cannot be opened (no
// card, no configuration, no sound server), without waiting for one.
// *mixer is 0 on failure.
quint32 mixerOpen(HMIXER* mixer, quint32 device);

// The speakers' line (component type 4) is the card's playback side; its line
// id names the element whose volume is set: "Master" when it has a playback
// volume, else the first of "PCM", "Speaker", "Headphone" that has one, else
// the first element with a playback volume. Other component types, or a card
// without any playback volume: MIXERR_INVALLINE.
quint32 mixerGetLineInfo(HMIXER mixer, quint32 componentType, quint32* lineId);

// The volume control (type 0x50030001) of that line; its range is the
// element's playback volume range. Other types: MIXERR_INVALCONTROL; a line id
// this layer did not give out: MIXERR_INVALLINE.
quint32 mixerGetLineControl(HMIXER mixer, quint32 lineId, quint32 controlType, MIXERCONTROL* control);

// Sets every playback channel of the control's element to value, first
// clamped into the range (ALSA itself would drop an out-of-range value
// silently). Nothing is read back. A card or server that has gone away:
// MMSYSERR_BADDEVICEID.
quint32 mixerSetControlDetails(HMIXER mixer, quint32 controlId, quint32 value);

// The control's current value: the loudest of its element's playback
// channels (a balance set elsewhere leaves one channel lower), as ALSA reads
// it now, other programs' changes included. Failures as for the set; *value
// is 0 then.
quint32 mixerGetControlDetails(HMIXER mixer, quint32 controlId, qint32* value);

// Why the last failing call failed, for the log, e.g. "ALSA: cannot attach to
// default: No such file or directory"; empty before any failure.
QString mixerLastError();

}  // namespace platform::mixer
