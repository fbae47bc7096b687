#include "platform/media/HardwareDecoders.h"

extern "C" {
#include <libavutil/buffer.h>
#include <libavutil/hwcontext.h>
#include <libavutil/log.h>
}

namespace platform::media {

QStringList UsableHardwareDecoders() {
    const int level = av_log_get_level();
    av_log_set_level(AV_LOG_QUIET);  // a missing device is the answer, not an error
    QStringList usable;
    for (const AVHWDeviceType type : {AV_HWDEVICE_TYPE_VAAPI, AV_HWDEVICE_TYPE_VDPAU, AV_HWDEVICE_TYPE_CUDA}) {
        AVBufferRef* device = nullptr;
        if (av_hwdevice_ctx_create(&device, type, nullptr, nullptr, 0) < 0) continue;
        av_buffer_unref(&device);
        usable << QString::fromLatin1(av_hwdevice_get_type_name(type));
    }
    av_log_set_level(level);
    return usable;
}

}  // namespace platform::media
