#ifndef APP_SKIN_CONTROL_PANEL_H
#define APP_SKIN_CONTROL_PANEL_H

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "control_logic.h"
#include "screen_table.h"
#include "skin_file.h"
#include "unique_handle.h"

namespace vmd {

/// The font of the toolkit's tool tips and pop-up lists.
struct ToolkitFont {
  std::string faceName = "Tahoma";
  int height = 13;  ///< pixels
  int charSet = 0;
};

/// The toolkit font as a GDI font; the caller owns it.
HFONT CreateToolkitFont(const ToolkitFont& font);

/// What the panel calls when a control is used: the row's handler with its
/// parameter (sliders and scroll thumbs add their position 0..100 in the high
/// 16 bits) and the control's id.
using CommandSink = void (*)(Command handler, int32_t parameter, int controlId);
/// Loads a string of the resource library by id.
using StringLoader = std::string (*)(int id);

/// The skinned control panel of a window: the panels of the current screen
/// drawn from the skin file, the live control states (kept in the control
/// table's state fields), the pressed and hover looks, tool tips, scroll
/// arrows that repeat while held, and thumbs that follow the mouse.
class ControlPanel {
 public:
  ControlPanel() = default;
  ControlPanel(const ControlPanel&) = delete;
  ControlPanel& operator=(const ControlPanel&) = delete;
  ~ControlPanel();

  /// Reads the skin file; false with a one-line reason naming what is wrong.
  bool Load(const std::string& skinPath, ControlTable* table, std::string* reason);
  /// Binds the panel to its window (the main window) and its callbacks.
  void Attach(HWND window, CommandSink sink, StringLoader strings, const ToolkitFont& font);

  /// Shows `screen`; repaints the window. False when the skin cannot show it.
  bool SwitchScreen(int screen);
  int screen() const { return screen_; }
  /// The panel sizes of the skin (that of panel 0).
  int width() const;
  int height() const;

  void Paint(HDC dc, const RECT& dirty);
  void OnButtonDown(int x, int y);
  void OnButtonUp(int x, int y);
  void OnMouseMove(int x, int y, bool buttonDown);
  void OnMouseLeave();
  /// True when the timer was one of the panel's own.
  bool OnTimer(UINT_PTR id);
  /// Forgets a press in progress (a context menu is about to open).
  void CancelPress();

  /// The control's place in client coordinates, right and bottom inclusive.
  bool ControlRect(int id, RECT* rect) const;
  void SetState(int id, int state);
  int State(int id) const;  ///< -1 when the control is not on the screen
  void ShowControl(int id, bool show);
  bool IsShown(int id) const;
  /// Draws `dib` fitted into placeholder `id` (kept, not owned; nullptr clears).
  void ShowImageInArea(int id, HGLOBAL dib);
  /// Moves a slider's or scroll bar's thumb to `value` (0..100).
  void SetThumbValue(int thumbId, int value);
  int ThumbValue(int thumbId) const;
  /// The tool tip shown now, for tests and the status of the window ("" when none).
  std::string ShownToolTip() const { return tipText_; }

 private:
  ControlDef* RowOf(const PlacedControl& control) const;
  int IndexOf(int id) const;
  bool Clickable(int index) const;
  void RenderAll();
  void RenderControl(int index);
  void RenderBackground(const SkinRect& rect);
  void Invalidate(const SkinRect& rect);
  void DrawImage(const SkinImage& image, int x, int y);
  const SkinImage& HoverImage(const SkinImage& normal);
  void SetHover(int index);
  void MoveThumb(int index, int pointer);
  void Activate(int index);
  void ShowTip();
  void HideTip();

  SkinFile skin_;
  ControlTable* table_ = nullptr;
  HWND window_ = nullptr;
  CommandSink sink_ = nullptr;
  StringLoader strings_ = nullptr;
  ToolkitFont font_;
  int screen_ = -1;
  std::vector<PlacedPanel> panels_;
  std::vector<PlacedControl> controls_;
  std::map<int, bool> hidden_;          ///< by control id, for the screen's lifetime
  std::map<int, HGLOBAL> areaImages_;   ///< by placeholder id, not owned
  std::map<const SkinImage*, SkinImage> hoverImages_;
  std::map<int, int> thumbValues_;      ///< by thumb id: 0..100
  UniqueDC backDC_;
  UniqueBitmap backBitmap_;
  HGDIOBJ oldBitmap_ = nullptr;
  int pressed_ = -1;
  bool pressedInside_ = false;
  int hover_ = -1;
  bool tracking_ = false;
  HWND tipWindow_ = nullptr;
  std::string tipText_;
};

}  // namespace vmd

#endif  // APP_SKIN_CONTROL_PANEL_H
