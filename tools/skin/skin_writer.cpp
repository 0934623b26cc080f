#include "skin_writer.h"

#include <cmath>
#include <memory>

#include "canvas.h"
#include "faces.h"
#include "palm_container.h"

namespace vmd {

namespace {

std::string RecordName(const LayoutPanel& panel, const LayoutControl* control) {
  if (!control) return std::string("panel ") + std::to_string(panel.number) + " " + panel.title;
  std::string name = std::to_string(control->id);
  if (control->label) return name + " " + control->label;
  if (control->icon) return name + " " + control->icon;
  return name;
}

}  // namespace

int ScaledLength(int length, double scale) { return static_cast<int>(std::lround(length * scale)); }

SkinRect ScaledRect(const LayoutControl& control, double scale) {
  SkinRect rect;
  rect.left = ScaledLength(control.left, scale);
  rect.top = ScaledLength(control.top, scale);
  rect.right = ScaledLength(control.left + control.width, scale) - 1;
  rect.bottom = ScaledLength(control.top + control.height, scale) - 1;
  return rect;
}

bool BuildSkinFile(const std::vector<LayoutPanel>& layout, double scale,
                   const std::string& previewDir, std::vector<uint8_t>* bytes) {
  PalmContainer container;
  for (const LayoutPanel& panel : layout) {
    container.pageStarts.push_back(static_cast<uint32_t>(container.records.size()));
    const int width = ScaledLength(panel.width, scale), height = ScaledLength(panel.height, scale);
    Canvas background(width, height, scale);
    DrawPanelBackground(background, panel);
    const SkinImage backgroundImage = background.ToImage();
    SkinRecordEntry entry;
    entry.id = 0;
    entry.name = RecordName(panel, nullptr);
    entry.rect = {0, 0, width - 1, height - 1};
    entry.image = &backgroundImage;
    AppendSkinRecord(entry, &container);
    entry.image = nullptr;
    for (int state = 1; state < kSkinStates; ++state) {
      entry.state = state;
      AppendSkinRecord(entry, &container);
    }
    // Previews show the panel with every control in one state.
    std::unique_ptr<Canvas> previews[kSkinStates];
    if (!previewDir.empty())
      for (int state = 0; state < kSkinStates; ++state) {
        previews[state] = std::make_unique<Canvas>(width, height, scale);
        previews[state]->PaintFrom(background, 0, 0);
      }
    for (const LayoutControl& control : panel.controls) {
      SkinRecordEntry record;
      record.id = control.id;
      record.name = RecordName(panel, &control);
      record.rect = ScaledRect(control, scale);
      for (int state = 0; state < kSkinStates; ++state) {
        record.state = state;
        record.image = nullptr;
        SkinImage image;
        if (HasFace(control.face)) {
          Canvas face(record.rect.Width(), record.rect.Height(), scale);
          face.PaintFrom(background, record.rect.left, record.rect.top);
          DrawControlFace(face, panel, control, state);
          image = face.ToImage();
          record.image = &image;
          if (previews[state]) {
            cairo_t* cr = previews[state]->cr();
            cairo_save(cr);
            cairo_identity_matrix(cr);
            cairo_set_source_surface(cr, face.surface(), record.rect.left, record.rect.top);
            cairo_paint(cr);
            cairo_restore(cr);
          }
        }
        AppendSkinRecord(record, &container);
      }
    }
    for (int state = 0; state < kSkinStates && !previewDir.empty(); ++state)
      previews[state]->WritePng(previewDir + "/panel-" + std::to_string(panel.number) + "-s" +
                                std::to_string(state) + ".png");
  }
  return WritePalmContainer(container, bytes);
}

}  // namespace vmd
