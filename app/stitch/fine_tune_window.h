#ifndef APP_STITCH_FINE_TUNE_WINDOW_H
#define APP_STITCH_FINE_TUNE_WINDOW_H

/// The two "FineTuning Window" classes: the photos of one join side by side
/// with three markers each, dragged by hand or snapped by the match
/// assistant, and applied as the join's control points before a re-blend.
/// The arithmetic is fine_tune_geometry.h's.

#include <windows.h>

namespace vmd {

/// The pair Locate named in the preview (first and second photo's column
/// and row): closes the preview and opens fine tuning on the rows' or the
/// columns' screen. Pairs that are not neighbours do nothing.
void StartFineTuning(long column1, long row1, long column2, long row2);
void CloseFineTuning();
void FineTuneZoom(bool zoomIn);
void MatchAssistant();
/// Enter: the markers become the join's control points and the panorama is
/// blended again; back in the preview with the new one. Coinciding markers
/// give the "exact position" message and fine tuning stays.
void ApplyFineTuning();
/// Esc: back to the preview with the panorama unchanged.
void CancelFineTuning();

}  // namespace vmd

#endif  // APP_STITCH_FINE_TUNE_WINDOW_H
