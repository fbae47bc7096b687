#include "remote/AudioCode.h"

namespace remote {

using namespace platform::mixer;

bool GetVolumeControl(HMIXER hmixer, quint32 componentType, quint32 ctrlType, MIXERCONTROL& volCtrl) {
    quint32 lineId = 0;
    if (mixerGetLineInfo(hmixer, componentType, &lineId) != MMSYSERR_NOERROR) return false;
    MIXERCONTROL found;
    if (mixerGetLineControl(hmixer, lineId, ctrlType, &found) != MMSYSERR_NOERROR) return false;
    volCtrl = found;
    return true;
}

bool SetVolumeControl(HMIXER hmixer, const MIXERCONTROL& volCtrl, qint32 vol) {
    return mixerSetControlDetails(hmixer, volCtrl.dwControlID, quint32(vol)) == MMSYSERR_NOERROR;
}

bool GetVolumeLevel(HMIXER hmixer, const MIXERCONTROL& volCtrl, qint32& vol) {
    qint32 level = 0;
    if (mixerGetControlDetails(hmixer, volCtrl.dwControlID, &level) != MMSYSERR_NOERROR) return false;
    vol = level;
    return true;
}

}  // namespace remote
