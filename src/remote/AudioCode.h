#pragma once
// The mixer routines of the remote control: find the volume control of a
// mixer line, read its value and set it.

#include "platform/mixer/Mixer.h"

namespace remote {

// The control of type ctrlType on the line of componentType, copied into
// volCtrl; false when the line or the control is not there.
bool GetVolumeControl(platform::mixer::HMIXER hmixer, quint32 componentType, quint32 ctrlType,
                      platform::mixer::MIXERCONTROL& volCtrl);
// Sets the control to vol on every channel; true when the mixer took it.
bool SetVolumeControl(platform::mixer::HMIXER hmixer, const platform::mixer::MIXERCONTROL& volCtrl, qint32 vol);
// The control's current value into vol; false (vol untouched) when the mixer
// cannot tell it.
bool GetVolumeLevel(platform::mixer::HMIXER hmixer, const platform::mixer::MIXERCONTROL& volCtrl, qint32& vol);

}  // namespace remote
