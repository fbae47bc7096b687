#pragma once
// The window system's connection Qt draws through, as the render API's
// parameter that lets a hardware decoder hand its pictures to OpenGL without
// a copy: Qt's X11 Display or Wayland wl_display. GUI thread; the pointer is
// Qt's and lives as long as the application.

#include <mpv/render.h>

namespace platform::media {

// MPV_RENDER_PARAM_X11_DISPLAY or MPV_RENDER_PARAM_WL_DISPLAY with Qt's
// connection; MPV_RENDER_PARAM_INVALID where there is none to give.
mpv_render_param WindowSystemDisplay();

}  // namespace platform::media
