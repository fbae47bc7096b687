#pragma once
// Which hardware video decoding interfaces this machine offers, for the
// machine facts: those of mpv's hwdec=auto-safe on Linux (VA-API, VDPAU,
// NVDEC through CUDA) whose device FFmpeg can open here. A device that
// opens says the interface is there, not that every codec decodes on it.
// Takes a few milliseconds; FFmpeg's log is silenced meanwhile. Any thread
// that owns FFmpeg's log level (ZORFacts' main thread).

#include <QStringList>

namespace platform::media {

// FFmpeg's names ("vaapi", "vdpau", "cuda"); empty: software decoding only.
QStringList UsableHardwareDecoders();

}  // namespace platform::media
