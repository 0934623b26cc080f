#include "control_panel.h"

#include "dib_draw.h"
#include "tooltip_window.h"

namespace vmd {

namespace {

constexpr UINT_PTR kTipTimer = 0x5601;
constexpr UINT_PTR kRepeatTimer = 0x5602;
constexpr UINT kTipDelay = 500;
constexpr UINT kRepeatFirstDelay = 400;
constexpr UINT kRepeatDelay = 80;

RECT ToRect(const SkinRect& rect) { return RECT{rect.left, rect.top, rect.right + 1, rect.bottom + 1}; }

}  // namespace

ControlPanel::~ControlPanel() {
  if (tipWindow_ != nullptr) DestroyWindow(tipWindow_);
  if (backDC_ && oldBitmap_ != nullptr) SelectObject(backDC_.get(), oldBitmap_);
}

bool ControlPanel::Load(const std::string& skinPath, ControlTable* table, std::string* reason) {
  table_ = table;
  if (!LoadSkinFile(skinPath, &skin_, reason)) return false;
  if (static_cast<int>(skin_.panels.size()) < kPanelCount) {
    *reason = "it has " + std::to_string(skin_.panels.size()) + " panels, not " +
              std::to_string(kPanelCount);
    return false;
  }
  for (int screen = 0; screen < kScreenCount; ++screen) {
    std::vector<PlacedPanel> panels;
    std::vector<PlacedControl> controls;
    if (!PlaceScreen(skin_, *table_, screen, &panels, &controls, reason)) return false;
  }
  return true;
}

void ControlPanel::Attach(HWND window, CommandSink sink, StringLoader strings, const ToolkitFont& font) {
  window_ = window;
  sink_ = sink;
  strings_ = strings;
  font_ = font;
  tipWindow_ = CreateToolTipWindow(window, font);
  WindowDC screen(window);
  backDC_.reset(CreateCompatibleDC(screen.get()));
  BITMAPINFO info = Bitmap24Info(width(), -height());
  void* bits = nullptr;
  backBitmap_.reset(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  oldBitmap_ = SelectObject(backDC_.get(), backBitmap_.get());
}

int ControlPanel::width() const { return skin_.panels.empty() ? 0 : skin_.panels[0].width; }
int ControlPanel::height() const { return skin_.panels.empty() ? 0 : skin_.panels[0].height; }

bool ControlPanel::SwitchScreen(int screen) {
  std::vector<PlacedPanel> panels;
  std::vector<PlacedControl> controls;
  std::string reason;
  if (!PlaceScreen(skin_, *table_, screen, &panels, &controls, &reason)) return false;
  CancelPress();
  HideTip();
  hover_ = -1;
  const bool samePanels = screen_ >= 0 && kScreenTable[screen_].mainPanel == kScreenTable[screen].mainPanel;
  if (!samePanels) {
    hidden_.clear();
    areaImages_.clear();
  }
  screen_ = screen;
  panels_ = std::move(panels);
  controls_ = std::move(controls);
  for (size_t i = 0; i < controls_.size(); ++i) {
    const ControlDef* row = RowOf(controls_[i]);
    if (row->kind != kKindThumb) continue;
    auto known = thumbValues_.find(row->id);
    if (known == thumbValues_.end()) {
      const int track = TrackRowOf((*table_)[controls_[i].panel], controls_[i].row);
      int value = 0;
      if (track >= 0) {
        const SkinControl* trackSkin = skin_.panels[controls_[i].panel].Find((*table_)[controls_[i].panel][track].id);
        if (trackSkin != nullptr) {
          const SkinRect& thumb = controls_[i].skin->rect;
          const int centre = IsHorizontalTrack(trackSkin->rect) ? (thumb.left + thumb.right) / 2
                                                                 : (thumb.top + thumb.bottom) / 2;
          value = ThumbValueAt(trackSkin->rect, thumb, centre);
        }
      }
      thumbValues_[row->id] = value;
    }
  }
  for (const auto& thumb : thumbValues_) SetThumbValue(thumb.first, thumb.second);
  RenderAll();
  if (window_ != nullptr) InvalidateRect(window_, nullptr, FALSE);
  return true;
}

ControlDef* ControlPanel::RowOf(const PlacedControl& control) const {
  return &(*table_)[control.panel][control.row];
}

int ControlPanel::IndexOf(int id) const {
  for (size_t i = 0; i < controls_.size(); ++i)
    if (controls_[i].id == id) return static_cast<int>(i);
  return -1;
}

bool ControlPanel::Clickable(int index) const {
  if (index < 0) return false;
  const ControlDef* row = RowOf(controls_[index]);
  if (row->kind == kKindPlace || row->state == kStateDisabled) return false;
  auto hidden = hidden_.find(row->id);
  return hidden == hidden_.end() || !hidden->second;
}

void ControlPanel::DrawImage(const SkinImage& image, int x, int y) { DrawSkinImage(backDC_.get(), image, x, y); }

const SkinImage& ControlPanel::HoverImage(const SkinImage& normal) {
  auto found = hoverImages_.find(&normal);
  if (found != hoverImages_.end()) return found->second;
  return hoverImages_.emplace(&normal, LightenedImage(normal)).first->second;
}

void ControlPanel::RenderBackground(const SkinRect& rect) {
  // Every panel of the screen that covers the rectangle, bottom one first.
  for (const PlacedPanel& placed : panels_) {
    const SkinPanel& panel = skin_.panels[placed.panel];
    RECT target = ToRect(rect);
    RECT panelRect = {placed.left, placed.top, placed.left + panel.width, placed.top + panel.height};
    RECT part;
    if (!IntersectRect(&part, &target, &panelRect)) continue;
    BITMAPINFO info = Bitmap24Info(panel.background.width, panel.background.height);
    const int sourceX = part.left - placed.left;
    const int sourceTop = part.top - placed.top;
    const int partHeight = part.bottom - part.top;
    // SetDIBitsToDevice counts source rows from the bottom of the image.
    const int sourceY = panel.height - sourceTop - partHeight;
    SetDIBitsToDevice(backDC_.get(), part.left, part.top, part.right - part.left, partHeight, sourceX,
                      sourceY, 0, panel.height, panel.background.pixels.data(), &info, DIB_RGB_COLORS);
  }
}

void ControlPanel::RenderControl(int index) {
  const PlacedControl& control = controls_[index];
  const ControlDef* row = RowOf(control);
  auto hidden = hidden_.find(row->id);
  if (hidden != hidden_.end() && hidden->second) return;
  if (row->kind == kKindPlace) {
    auto image = areaImages_.find(row->id);
    if (image != areaImages_.end()) {
      // Inside the place's one-pixel edge, which the skin draws as the well's border.
      const SkinRect& r = control.rect;
      const RECT inside = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
      DrawDibInArea(backDC_.get(), image->second, inside);
    }
    return;
  }
  const bool pressed = index == pressed_ && pressedInside_;
  const int state = FaceStateOf(row->state, pressed);
  const SkinImage* face = &control.skin->images[state];
  if (face->Empty()) face = &control.skin->images[0];
  if (face->Empty()) return;
  if (state == 0 && index == hover_ && Clickable(index)) face = &HoverImage(*face);
  DrawImage(*face, control.rect.left, control.rect.top);
}

void ControlPanel::RenderAll() {
  if (!backDC_) return;
  RenderBackground(SkinRect{0, 0, width() - 1, height() - 1});
  for (size_t i = 0; i < controls_.size(); ++i) RenderControl(static_cast<int>(i));
}

void ControlPanel::Invalidate(const SkinRect& rect) {
  if (!backDC_) return;
  // Redraw everything that overlaps the rectangle, in order, so that a thumb
  // stays on its track.
  RenderBackground(rect);
  RECT area = ToRect(rect);
  for (size_t i = 0; i < controls_.size(); ++i) {
    RECT other = ToRect(controls_[i].rect);
    RECT overlap;
    if (IntersectRect(&overlap, &area, &other)) RenderControl(static_cast<int>(i));
  }
  if (window_ != nullptr) InvalidateRect(window_, &area, FALSE);
}

void ControlPanel::Paint(HDC dc, const RECT& dirty) {
  if (!backDC_) return;
  BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, backDC_.get(),
         dirty.left, dirty.top, SRCCOPY);
}

void ControlPanel::SetHover(int index) {
  if (index == hover_) return;
  const int old = hover_;
  hover_ = index;
  HideTip();
  if (old >= 0 && old < static_cast<int>(controls_.size())) Invalidate(controls_[old].rect);
  if (hover_ >= 0) {
    Invalidate(controls_[hover_].rect);
    if (RowOf(controls_[hover_])->tooltip > 0 && window_ != nullptr)
      SetTimer(window_, kTipTimer, kTipDelay, nullptr);
  }
}

void ControlPanel::ShowTip() {
  if (hover_ < 0 || strings_ == nullptr || tipWindow_ == nullptr) return;
  const ControlDef* row = RowOf(controls_[hover_]);
  if (row->tooltip <= 0) return;
  tipText_ = strings_(row->tooltip);
  if (tipText_.empty()) return;
  POINT at;
  GetCursorPos(&at);
  ShowToolTip(tipWindow_, tipText_, at.x + 4, at.y + 22);
}

void ControlPanel::HideTip() {
  if (window_ != nullptr) KillTimer(window_, kTipTimer);
  tipText_.clear();
  HideToolTip(tipWindow_);
}

void ControlPanel::MoveThumb(int index, int pointer) {
  const PlacedControl& control = controls_[index];
  const int trackRow = TrackRowOf((*table_)[control.panel], control.row);
  if (trackRow < 0) return;
  const int trackIndex = IndexOf((*table_)[control.panel][trackRow].id);
  if (trackIndex < 0) return;
  const int value = ThumbValueAt(controls_[trackIndex].rect, control.rect, pointer);
  const ControlDef* row = RowOf(control);
  if (ThumbValue(row->id) == value) return;
  SetThumbValue(row->id, value);
  if (sink_ != nullptr)
    sink_(row->handler, row->parameter | static_cast<int32_t>(static_cast<uint32_t>(value) << 16), row->id);
}

void ControlPanel::Activate(int index) {
  ControlDef* row = RowOf(controls_[index]);
  if (row->kind == kKindToggle) {
    if (row->group != 0) {
      CheckRadioControl(&(*table_)[controls_[index].panel], row->id);
      for (size_t i = 0; i < controls_.size(); ++i)
        if (RowOf(controls_[i])->group == row->group) Invalidate(controls_[i].rect);
    } else {
      row->state = row->state == kStateChecked ? kStateNormal : kStateChecked;
      Invalidate(controls_[index].rect);
    }
  }
  if (sink_ != nullptr && row->handler != Command::kNone) sink_(row->handler, row->parameter, row->id);
}

void ControlPanel::OnButtonDown(int x, int y) {
  HideTip();
  const int index = HitTestControls(controls_, x, y);
  if (!Clickable(index)) return;
  pressed_ = index;
  pressedInside_ = true;
  SetCapture(window_);
  const ControlDef* row = RowOf(controls_[index]);
  if (row->kind == kKindThumb) {
    MoveThumb(index, IsHorizontalTrack(controls_[index].rect) ? x : y);
    return;
  }
  if (row->kind == kKindTrack) {
    // A click on a track pages the thumb towards the pointer.
    for (size_t i = index + 1; i < controls_.size(); ++i) {
      const ControlDef* thumb = RowOf(controls_[i]);
      if (thumb->kind != kKindThumb) continue;
      if (TrackRowOf((*table_)[controls_[i].panel], controls_[i].row) != controls_[index].row) break;
      const SkinRect& t = controls_[i].rect;
      const bool horizontal = IsHorizontalTrack(controls_[index].rect);
      const int page = row->parameter & 0xFFFF;
      const int pointer = horizontal ? x : y;
      const int centre = horizontal ? (t.left + t.right) / 2 : (t.top + t.bottom) / 2;
      const int value = ThumbValue(thumb->id) + (pointer < centre ? -page : page);
      const int clamped = value < 0 ? 0 : value > 100 ? 100 : value;
      SetThumbValue(thumb->id, clamped);
      if (sink_ != nullptr)
        sink_(thumb->handler, thumb->parameter | static_cast<int32_t>(static_cast<uint32_t>(clamped) << 16),
              thumb->id);
      break;
    }
    pressed_ = -1;
    ReleaseCapture();
    return;
  }
  Invalidate(controls_[index].rect);
  if (row->kind == kKindArrow) {
    Activate(index);
    SetTimer(window_, kRepeatTimer, kRepeatFirstDelay, nullptr);
  }
}

void ControlPanel::OnButtonUp(int x, int y) {
  if (pressed_ < 0) return;
  const int index = pressed_;
  const bool inside = controls_[index].rect.Contains(x, y);
  pressed_ = -1;
  pressedInside_ = false;
  KillTimer(window_, kRepeatTimer);
  if (GetCapture() == window_) ReleaseCapture();
  Invalidate(controls_[index].rect);
  const ControlDef* row = RowOf(controls_[index]);
  if (inside && (row->kind == kKindPush || row->kind == kKindToggle) && Clickable(index)) Activate(index);
}

void ControlPanel::OnMouseMove(int x, int y, bool buttonDown) {
  if (!tracking_ && window_ != nullptr) {
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, window_, 0};
    tracking_ = TrackMouseEvent(&track) != FALSE;
  }
  if (pressed_ >= 0 && buttonDown) {
    const ControlDef* row = RowOf(controls_[pressed_]);
    if (row->kind == kKindThumb) {
      MoveThumb(pressed_, IsHorizontalTrack(controls_[pressed_].rect) ? x : y);
      return;
    }
    const bool inside = controls_[pressed_].rect.Contains(x, y);
    if (inside != pressedInside_) {
      pressedInside_ = inside;
      Invalidate(controls_[pressed_].rect);
    }
    return;
  }
  const int index = HitTestControls(controls_, x, y);
  SetHover(Clickable(index) ? index : -1);
}

void ControlPanel::OnMouseLeave() {
  tracking_ = false;
  if (pressed_ < 0) SetHover(-1);
}

bool ControlPanel::OnTimer(UINT_PTR id) {
  if (id == kTipTimer) {
    KillTimer(window_, kTipTimer);
    ShowTip();
    return true;
  }
  if (id == kRepeatTimer) {
    SetTimer(window_, kRepeatTimer, kRepeatDelay, nullptr);
    if (pressed_ >= 0 && pressedInside_ && Clickable(pressed_)) Activate(pressed_);
    return true;
  }
  return false;
}

void ControlPanel::CancelPress() {
  if (pressed_ < 0) return;
  const int index = pressed_;
  pressed_ = -1;
  pressedInside_ = false;
  if (window_ != nullptr) {
    KillTimer(window_, kRepeatTimer);
    if (GetCapture() == window_) ReleaseCapture();
  }
  if (index < static_cast<int>(controls_.size())) Invalidate(controls_[index].rect);
}

bool ControlPanel::ControlRect(int id, RECT* rect) const {
  const int index = IndexOf(id);
  if (index < 0) return false;
  const SkinRect& r = controls_[index].rect;
  *rect = RECT{r.left, r.top, r.right, r.bottom};
  return true;
}

void ControlPanel::SetState(int id, int state) {
  bool changed = false;
  for (int panel = 0; panel < static_cast<int>(table_->size()); ++panel) {
    ControlDef* row = FindControlDef(*table_, panel, id);
    if (row == nullptr) continue;
    // Only the panels of the screen shown are meant; other panels keep theirs.
    bool shown = false;
    for (const PlacedPanel& placed : panels_) shown = shown || placed.panel == panel;
    if (!shown) continue;
    changed = changed || row->state != state;
    row->state = state;
  }
  const int index = IndexOf(id);
  if (changed && index >= 0) {
    if (index == hover_ && state == kStateDisabled) SetHover(-1);
    Invalidate(controls_[index].rect);
  }
}

int ControlPanel::State(int id) const {
  const int index = IndexOf(id);
  return index < 0 ? -1 : RowOf(controls_[index])->state;
}

void ControlPanel::ShowControl(int id, bool show) {
  hidden_[id] = !show;
  const int index = IndexOf(id);
  if (index >= 0) {
    if (!show && index == hover_) SetHover(-1);
    Invalidate(controls_[index].rect);
  }
}

bool ControlPanel::IsShown(int id) const {
  auto hidden = hidden_.find(id);
  return IndexOf(id) >= 0 && (hidden == hidden_.end() || !hidden->second);
}

void ControlPanel::ShowImageInArea(int id, HGLOBAL dib) {
  if (dib == nullptr) {
    areaImages_.erase(id);
  } else {
    areaImages_[id] = dib;
  }
  const int index = IndexOf(id);
  if (index >= 0) Invalidate(controls_[index].rect);
}

void ControlPanel::SetThumbValue(int thumbId, int value) {
  value = value < 0 ? 0 : value > 100 ? 100 : value;
  thumbValues_[thumbId] = value;
  const int index = IndexOf(thumbId);
  if (index < 0) return;
  PlacedControl& thumb = controls_[index];
  const int trackRow = TrackRowOf((*table_)[thumb.panel], thumb.row);
  if (trackRow < 0) return;
  const int trackIndex = IndexOf((*table_)[thumb.panel][trackRow].id);
  if (trackIndex < 0) return;
  const SkinRect old = thumb.rect;
  thumb.rect = ThumbRectFor(controls_[trackIndex].rect, thumb.rect, value);
  Invalidate(old);
  Invalidate(thumb.rect);
}

int ControlPanel::ThumbValue(int thumbId) const {
  auto found = thumbValues_.find(thumbId);
  return found == thumbValues_.end() ? 0 : found->second;
}

HFONT CreateToolkitFont(const ToolkitFont& font) {
  return CreateFontA(-font.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, static_cast<BYTE>(font.charSet),
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                     font.faceName.c_str());
}

}  // namespace vmd
