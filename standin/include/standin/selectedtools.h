// A pen and a brush selected into a device context for the life of the object, then
// deselected and deleted: drawing code and tests leave no GDI object behind.
#ifndef RASQET_STANDIN_SELECTEDTOOLS_H
#define RASQET_STANDIN_SELECTEDTOOLS_H

#include <windows.h>

namespace standin {

class SelectedTools {
 public:
  // Without filled, the stock null brush: outlines only.
  SelectedTools(HDC dc, int penStyle, int penWidth, COLORREF penColour, bool filled,
                COLORREF fillColour)
      : dc_(dc) {
    pen_ = CreatePen(penStyle, penWidth, penColour);
    brush_ = filled ? CreateSolidBrush(fillColour) : nullptr;
    oldPen_ = SelectObject(dc, pen_);
    oldBrush_ =
        SelectObject(dc, filled ? static_cast<HGDIOBJ>(brush_) : GetStockObject(NULL_BRUSH));
  }
  ~SelectedTools() {
    SelectObject(dc_, oldPen_);
    SelectObject(dc_, oldBrush_);
    DeleteObject(pen_);
    if (brush_ != nullptr) DeleteObject(brush_);
  }
  SelectedTools(const SelectedTools&) = delete;
  SelectedTools& operator=(const SelectedTools&) = delete;

 private:
  HDC dc_;
  HPEN pen_;
  HBRUSH brush_;
  HGDIOBJ oldPen_, oldBrush_;
};

}  // namespace standin

#endif
