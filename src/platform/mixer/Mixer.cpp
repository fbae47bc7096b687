#include "platform/mixer/Mixer.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <string>
#include <vector>

namespace platform::mixer {

namespace {

// A speakers' line: the element is kept by name, not by pointer, because
// handling ALSA's events may free and re-create elements.
struct Line {
    HMIXER mixer = 0;
    std::string name;
    unsigned index = 0;
};

std::vector<snd_mixer_t*> mixers;      // handle n is mixers[n - 1]
std::vector<Line> lines;               // line id n is lines[n - 1]
std::vector<quint32> controlLines;     // control id n is the volume of line controlLines[n - 1]
QString lastError;

quint32 Fail(quint32 code, const QString& reason) {
    lastError = reason;
    return code;
}

quint32 FailAlsa(quint32 code, const char* what, int err) {
    return Fail(code, QStringLiteral("ALSA: %1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(snd_strerror(err))));
}

snd_mixer_t* FindMixer(HMIXER mixer) {
    return mixer >= 1 && mixer <= mixers.size() ? mixers[mixer - 1] : nullptr;
}

const Line* FindLine(HMIXER mixer, quint32 lineId) {
    if (lineId < 1 || lineId > lines.size() || lines[lineId - 1].mixer != mixer) return nullptr;
    return &lines[lineId - 1];
}

// Takes in what changed on the card since the last call (other programs'
// volume changes among it), so that ALSA's cached values are current and a
// write is not skipped as "unchanged". Never blocks.
bool Refresh(snd_mixer_t* handle) {
    const int err = snd_mixer_handle_events(handle);
    if (err < 0) FailAlsa(MMSYSERR_BADDEVICEID, "cannot read the card's changes", err);
    return err >= 0;
}

snd_mixer_elem_t* FindElement(snd_mixer_t* handle, const Line& line) {
    snd_mixer_selem_id_t* id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_name(id, line.name.c_str());
    snd_mixer_selem_id_set_index(id, line.index);
    return snd_mixer_find_selem(handle, id);
}

snd_mixer_elem_t* SpeakersElement(snd_mixer_t* handle) {
    static constexpr std::array<const char*, 4> preferred{"Master", "PCM", "Speaker", "Headphone"};
    snd_mixer_elem_t* first = nullptr;
    std::array<snd_mixer_elem_t*, preferred.size()> named{};
    for (auto* elem = snd_mixer_first_elem(handle); elem; elem = snd_mixer_elem_next(elem)) {
        if (!snd_mixer_selem_has_playback_volume(elem)) continue;
        if (!first) first = elem;
        const std::string name = snd_mixer_selem_get_name(elem);
        for (size_t i = 0; i < preferred.size(); ++i) {
            if (!named[i] && name == preferred[i]) named[i] = elem;
        }
    }
    for (auto* elem : named) {
        if (elem) return elem;
    }
    return first;
}

void SilentAlsa(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

quint32 mixerOpen(HMIXER* mixer, quint32 device) {
    *mixer = 0;
    // ALSA prints its own failures to standard error; ours reach the log with
    // their reason through mixerLastError instead.
    snd_lib_error_set_handler(SilentAlsa);
    if (device != 0) return Fail(MMSYSERR_BADDEVICEID, QStringLiteral("no mixer device %1").arg(device));
    snd_mixer_t* handle = nullptr;
    int err = snd_mixer_open(&handle, 0);
    if (err < 0) return FailAlsa(MMSYSERR_BADDEVICEID, "cannot open a mixer", err);
    const char* failed = nullptr;
    if ((err = snd_mixer_attach(handle, "default")) < 0) {
        failed = "cannot attach to default";
    } else if ((err = snd_mixer_selem_register(handle, nullptr, nullptr)) < 0) {
        failed = "cannot register the simple elements of default";
    } else if ((err = snd_mixer_load(handle)) < 0) {
        failed = "cannot load the elements of default";
    }
    if (failed) {
        snd_mixer_close(handle);
        return FailAlsa(MMSYSERR_BADDEVICEID, failed, err);
    }
    mixers.push_back(handle);
    *mixer = HMIXER(mixers.size());
    return MMSYSERR_NOERROR;
}

quint32 mixerGetLineInfo(HMIXER mixer, quint32 componentType, quint32* lineId) {
    *lineId = 0;
    snd_mixer_t* handle = FindMixer(mixer);
    if (!handle) return Fail(MMSYSERR_INVALHANDLE, QStringLiteral("no mixer %1").arg(mixer));
    if (componentType != MIXERLINE_COMPONENTTYPE_DST_SPEAKERS) {
        return Fail(MIXERR_INVALLINE, QStringLiteral("no line of component type %1").arg(componentType));
    }
    if (!Refresh(handle)) return MMSYSERR_BADDEVICEID;
    snd_mixer_elem_t* elem = SpeakersElement(handle);
    if (!elem) return Fail(MIXERR_INVALLINE, QStringLiteral("ALSA: default has no playback volume"));
    const Line line{mixer, snd_mixer_selem_get_name(elem), snd_mixer_selem_get_index(elem)};
    const auto known = std::find_if(lines.begin(), lines.end(), [&](const Line& l) {
        return l.mixer == line.mixer && l.name == line.name && l.index == line.index;
    });
    const size_t at = known - lines.begin();
    if (at == lines.size()) lines.push_back(line);
    *lineId = quint32(at + 1);
    return MMSYSERR_NOERROR;
}

quint32 mixerGetLineControl(HMIXER mixer, quint32 lineId, quint32 controlType, MIXERCONTROL* control) {
    *control = MIXERCONTROL{};
    snd_mixer_t* handle = FindMixer(mixer);
    if (!handle) return Fail(MMSYSERR_INVALHANDLE, QStringLiteral("no mixer %1").arg(mixer));
    const Line* line = FindLine(mixer, lineId);
    if (!line) return Fail(MIXERR_INVALLINE, QStringLiteral("no line %1 on mixer %2").arg(lineId).arg(mixer));
    if (controlType != MIXERCONTROL_CONTROLTYPE_VOLUME) {
        return Fail(MIXERR_INVALCONTROL, QStringLiteral("no control of type 0x%1").arg(controlType, 8, 16, QChar(u'0')));
    }
    if (!Refresh(handle)) return MMSYSERR_BADDEVICEID;
    snd_mixer_elem_t* elem = FindElement(handle, *line);
    if (!elem) return Fail(MIXERR_INVALCONTROL, QStringLiteral("ALSA: element %1 is gone").arg(QString::fromStdString(line->name)));
    long min = 0;
    long max = 0;
    if (const int err = snd_mixer_selem_get_playback_volume_range(elem, &min, &max); err < 0) {
        return FailAlsa(MIXERR_INVALCONTROL, "cannot read the playback volume range", err);
    }
    const size_t at = std::find(controlLines.begin(), controlLines.end(), lineId) - controlLines.begin();
    if (at == controlLines.size()) controlLines.push_back(lineId);
    control->dwControlID = quint32(at + 1);
    control->dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    control->lMinimum = qint32(std::clamp<long>(min, INT32_MIN, INT32_MAX));
    control->lMaximum = qint32(std::clamp<long>(max, INT32_MIN, INT32_MAX));
    return MMSYSERR_NOERROR;
}

namespace {

// The current element of a volume control, with the card's changes taken in;
// on failure *code says why.
snd_mixer_elem_t* ControlElement(HMIXER mixer, quint32 controlId, quint32* code) {
    snd_mixer_t* handle = FindMixer(mixer);
    if (!handle) {
        *code = Fail(MMSYSERR_INVALHANDLE, QStringLiteral("no mixer %1").arg(mixer));
        return nullptr;
    }
    const Line* line = controlId >= 1 && controlId <= controlLines.size() ? FindLine(mixer, controlLines[controlId - 1]) : nullptr;
    if (!line) {
        *code = Fail(MIXERR_INVALCONTROL, QStringLiteral("no control %1 on mixer %2").arg(controlId).arg(mixer));
        return nullptr;
    }
    if (!Refresh(handle)) {
        *code = MMSYSERR_BADDEVICEID;
        return nullptr;
    }
    snd_mixer_elem_t* elem = FindElement(handle, *line);
    if (!elem)
        *code = Fail(MIXERR_INVALCONTROL, QStringLiteral("ALSA: element %1 is gone").arg(QString::fromStdString(line->name)));
    return elem;
}

}  // namespace

quint32 mixerSetControlDetails(HMIXER mixer, quint32 controlId, quint32 value) {
    quint32 code = MMSYSERR_NOERROR;
    snd_mixer_elem_t* elem = ControlElement(mixer, controlId, &code);
    if (!elem) return code;
    long min = 0;
    long max = 0;
    int err = snd_mixer_selem_get_playback_volume_range(elem, &min, &max);
    if (err >= 0) err = snd_mixer_selem_set_playback_volume_all(elem, std::clamp<long>(long(value), min, max));
    if (err < 0) return FailAlsa(MMSYSERR_BADDEVICEID, "cannot set the playback volume", err);
    return MMSYSERR_NOERROR;
}

quint32 mixerGetControlDetails(HMIXER mixer, quint32 controlId, qint32* value) {
    *value = 0;
    quint32 code = MMSYSERR_NOERROR;
    snd_mixer_elem_t* elem = ControlElement(mixer, controlId, &code);
    if (!elem) return code;
    long loudest = LONG_MIN;
    for (int channel = 0; channel <= SND_MIXER_SCHN_LAST; ++channel) {
        const auto c = snd_mixer_selem_channel_id_t(channel);
        long level = 0;
        if (!snd_mixer_selem_has_playback_channel(elem, c)) continue;
        if (const int err = snd_mixer_selem_get_playback_volume(elem, c, &level); err < 0)
            return FailAlsa(MMSYSERR_BADDEVICEID, "cannot read the playback volume", err);
        loudest = std::max(loudest, level);
    }
    if (loudest == LONG_MIN) return Fail(MIXERR_INVALCONTROL, QStringLiteral("ALSA: the volume has no playback channel"));
    *value = qint32(std::clamp<long>(loudest, INT32_MIN, INT32_MAX));
    return MMSYSERR_NOERROR;
}

QString mixerLastError() { return lastError; }

}  // namespace platform::mixer
