#pragma once
// The remote control's hot zones in twips, in its two layouts: shared by the
// window, which places them, and by the tool that draws the skin, which
// checks that each lies on the body and over the button it is drawn for.
//
// The skin is a bitmap of 320 x 200 pixels, so a layout's twips are the
// skin's pixels at the ratio the layout was made for, never the screen's
// DPI: the small layout at 15 twips to the pixel (the skin is drawn to it),
// the large one at 12 (its twips land on the same buttons there). The font
// rule may pick either layout at any DPI, and the window, its shape and its
// zones then still lie on the skin. On a scaled screen all of it is scaled
// alike, as Qt's device-independent pixels are.

#include "platform/ui/Twips.h"

namespace remote {

inline constexpr float kKeep = -1;  // the large layout keeps the design value
inline constexpr float kTwipsPerSkinPixel = 15;       // the small layout
inline constexpr float kLargeTwipsPerSkinPixel = 12;  // the large layout

// Tooltip, design place (left, top, width, height) and the place the large
// layout gives the zone; in the order of FrmControl's zone members.
struct ZoneDesign {
    const char* tooltip;
    platform::TwipsRect design;
    platform::TwipsRect large;
};

inline constexpr ZoneDesign kZoneDesigns[] = {
    {"Quarter Speed", {1080, 300, 315, 135}, {840, 180, kKeep, kKeep}},  // Lbl_025
    {"Half Speed", {2160, 180, 435, 135}, {1680, 120, kKeep, kKeep}},  // Lbl_50
    {"Double Speed", {3300, 300, 435, 135}, {2580, 180, 432, 132}},  // Lbl_20
    {"Animate Remote Control", {2280, 600, 312, 312}, {1740, 480, kKeep, kKeep}},  // Lbl_AniRC
    {"Rewind 5 frames", {180, 1080, 375, 135}, {120, 840, kKeep, kKeep}},  // Lbl_Rew5
    {"Rewind 1 frame", {300, 1620, 375, 195}, {180, 1260, 372, 192}},  // lbl_Rew1XLabel1
    {"Advance 5 frames", {4200, 1080, 435, 135}, {3300, 840, kKeep, kKeep}},  // Lbl_5X
    {"Advance 1 frame", {4140, 1620, 435, 195}, {3240, 1260, kKeep, kKeep}},  // Lbl_1X
    {"Show Slider", {900, 1320, 495, 135}, {720, 1020, kKeep, kKeep}},  // Lbl_ShowSlider
    {"", {900, 1470, 45, 210}, {kKeep, kKeep, kKeep, kKeep}},  // Lbl_Tim - placed under the slider
    {"Play", {2220, 1320, 435, 375}, {1740, 1020, 432, 372}},  // Lbl_Play
    {"Pause", {2160, 2160, 435, 195}, {1680, 1740, kKeep, kKeep}},  // Lbl_Pause
    {"Volume Down", {3300, 1320, 135, 195}, {2640, 1080, 132, 192}},  // Lbl_AudioMin
    {"Volume Up", {3720, 1380, 195, 135}, {3000, 1080, 192, 132}},  // Lbl_AudMax
    {"Quit Show", {3600, 2160, 495, 195}, {2820, 1740, kKeep, 192}},  // Label1
    {"Previous Clip", {1860, 2640, 330, 165}, {1500, 2100, kKeep, kKeep}},  // Lbl_PrevMov
    {"Next Clip", {2520, 2640, 450, 165}, {1980, 2100, kKeep, kKeep}},  // Lbl_NextMov
    {"Hide Remote Control", {3480, 2640, 210, 180}, {2760, 2100, kKeep, kKeep}},  // Label6
    {"Repeat clip", {5400, 2640, 696, 312}, {720, 1920, kKeep, kKeep}},  // Label10
    {"Zoom Up", {5760, 240, 432, 312}, {kKeep, kKeep, kKeep, kKeep}},  // Lbl_Mag
    {"Zoom Down", {5760, 420, 432, 312}, {kKeep, kKeep, kKeep, kKeep}},  // Lbl_MagMin
    {"Mute Audio", {5760, 720, 432, 312}, {kKeep, kKeep, kKeep, kKeep}},  // Lbl_Mute
};

// A zone's place in the large layout: its large values, the design's where
// the large layout keeps them.
constexpr platform::TwipsRect LargePlace(const ZoneDesign& zone) {
    const auto pick = [](float large, float design) { return large == kKeep ? design : large; };
    return {pick(zone.large.Left, zone.design.Left), pick(zone.large.Top, zone.design.Top),
            pick(zone.large.Width, zone.design.Width), pick(zone.large.Height, zone.design.Height)};
}

inline constexpr platform::TwipsRect kSmallWindow{0, 0, 4815, 3030};
inline constexpr platform::TwipsRect kLargeWindow{0, 0, 3852, 2412};

}  // namespace remote
