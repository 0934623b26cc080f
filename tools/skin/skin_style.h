#ifndef TOOLS_SKIN_SKIN_STYLE_H
#define TOOLS_SKIN_SKIN_STYLE_H

#include "canvas.h"

namespace vmd {

/// The skin's colours: a calm slate-and-lavender set around the panel colour
/// RGB(201, 200, 213) that the program's own windows paint with, one indigo
/// accent for what moves the work on and for "on" states.
namespace style {
constexpr Rgb kPanel = {201, 200, 213};
constexpr Rgb kPanelShade = {186, 185, 201};
constexpr Rgb kCard = {214, 213, 225};
constexpr Rgb kCardBorder = {178, 177, 195};
constexpr Rgb kBandTop = {68, 71, 99};
constexpr Rgb kBandBottom = {47, 49, 72};
constexpr Rgb kBandText = {244, 244, 250};
constexpr Rgb kBandSubtle = {184, 188, 222};
constexpr Rgb kInk = {33, 35, 52};
constexpr Rgb kInkSoft = {78, 79, 104};
constexpr Rgb kIcon = {52, 58, 102};
constexpr Rgb kFaceTop = {251, 251, 254};
constexpr Rgb kFaceBottom = {232, 231, 241};
constexpr Rgb kBorder = {136, 134, 162};
constexpr Rgb kDownTop = {196, 199, 226};
constexpr Rgb kDownBottom = {214, 216, 236};
constexpr Rgb kAccent = {78, 92, 182};
constexpr Rgb kAccentTop = {102, 117, 204};
constexpr Rgb kAccentBottom = {70, 84, 172};
constexpr Rgb kAccentDark = {48, 58, 138};
constexpr Rgb kAccentLight = {220, 224, 250};
constexpr Rgb kOnTop = {214, 220, 252};
constexpr Rgb kOnBottom = {196, 204, 244};
constexpr Rgb kDisabledFace = {212, 211, 222};
constexpr Rgb kDisabledBorder = {182, 181, 197};
constexpr Rgb kDisabledInk = {150, 149, 168};
constexpr Rgb kWell = {178, 177, 194};
constexpr Rgb kWellDeep = {150, 148, 170};
constexpr Rgb kWhite = {255, 255, 255};
constexpr Rgb kPhotoSky = {132, 168, 214};
constexpr Rgb kPhotoHill = {92, 140, 110};
constexpr Rgb kPhotoFar = {150, 176, 160};
constexpr Rgb kMarkerKey = {255, 0, 255};  ///< the marker images' transparent colour
}  // namespace style

/// The title band across the top of every main panel.
constexpr double kBandHeight = 52;

}  // namespace vmd

#endif  // TOOLS_SKIN_SKIN_STYLE_H
