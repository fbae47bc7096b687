#include "platform/mixer/Mixer.h"

#include <gtest/gtest.h>

#include "support/PulseServer.h"

namespace {

using namespace platform::mixer;

// The master volume of a sound server's null sink, set through the mixer calls
// and read back by another process. Nothing else in this process opens ALSA
// before: ALSA makes "default" the pulse plugin only when its first use finds
// a server.
TEST(MixerTest, SetsTheMasterVolumeOfTheDefaultCard) {
    testsupport::PulseServer server;
    server.UseInThisProcess();

    HMIXER mixer = 0;
    ASSERT_EQ(mixerOpen(&mixer, 0), MMSYSERR_NOERROR) << mixerLastError().toStdString();
    quint32 line = 0;
    ASSERT_EQ(mixerGetLineInfo(mixer, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, &line), MMSYSERR_NOERROR)
        << mixerLastError().toStdString();
    MIXERCONTROL volume;
    ASSERT_EQ(mixerGetLineControl(mixer, line, MIXERCONTROL_CONTROLTYPE_VOLUME, &volume), MMSYSERR_NOERROR)
        << mixerLastError().toStdString();
    EXPECT_EQ(volume.lMinimum, 0);
    EXPECT_EQ(volume.lMaximum, 65536);  // the server's 100 %

    // Out of range is clamped: ALSA itself would keep the last value.
    const struct { quint32 set; qint64 read; } values[] = {
        {0, 0}, {32768, 32768}, {1, 1}, {65536, 65536}, {1000, 1000}, {70000, 65536}, {0xFFFFFFFF, 65536},
    };
    for (const auto& v : values) {
        SCOPED_TRACE(v.set);
        EXPECT_EQ(mixerSetControlDetails(mixer, volume.dwControlID, v.set), MMSYSERR_NOERROR)
            << mixerLastError().toStdString();
        EXPECT_EQ(server.MasterVolume(), v.read);
    }

    // Whatever is not there: the code, and no volume change.
    quint32 noLine = 0;
    MIXERCONTROL control;
    HMIXER other = 7;
    EXPECT_EQ(mixerOpen(&other, 1), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(other, 0u);
    const quint32 ramp = MIXERCONTROL_CONTROLTYPE_VOLUME + 1;
    const struct { const char* what; quint32 code, expected; } failures[] = {
        {"line type 1", mixerGetLineInfo(mixer, 1, &noLine), MIXERR_INVALLINE},
        {"other control type", mixerGetLineControl(mixer, line, ramp, &control), MIXERR_INVALCONTROL},
        {"unknown line", mixerGetLineControl(mixer, line + 100, MIXERCONTROL_CONTROLTYPE_VOLUME, &control), MIXERR_INVALLINE},
        {"set on a bad handle", mixerSetControlDetails(mixer + 1, volume.dwControlID, 5), MMSYSERR_INVALHANDLE},
        {"unknown control", mixerSetControlDetails(mixer, volume.dwControlID + 100, 5), MIXERR_INVALCONTROL},
    };
    for (const auto& f : failures) EXPECT_EQ(f.code, f.expected) << f.what;
    EXPECT_EQ(server.MasterVolume(), 65536);
}

}  // namespace
