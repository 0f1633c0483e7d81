#include "entityrenderer.h"

#include <standin/selectedtools.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace rasqethost {
namespace {

constexpr double kPi = 3.14159265358979323846;

POINT ToPixel(const ViewMapping& view, Point p) {
  DevicePoint d = view.ToDevice(p);
  return {PixelOf(d.x), PixelOf(d.y)};
}

// Pen width in pixels for a width in drawing units.
int PenWidth(const ViewMapping& view, double width) {
  if (width <= 0) return 1;
  double pixels = width * (std::fabs(view.scaleX()) + std::fabs(view.scaleY())) / 2;
  return static_cast<int>(std::clamp(std::lround(pixels), 1L, 1000L));
}

// A solid pen of the entity's colour, and a brush of the same colour for filled entities.
class Tools : public standin::SelectedTools {
 public:
  Tools(HDC dc, int width, COLORREF colour, bool filled)
      : SelectedTools(dc, PS_SOLID, width, colour, filled, colour) {}
};

void Dot(HDC dc, POINT p) {
  MoveToEx(dc, p.x, p.y, nullptr);
  LineTo(dc, p.x + 1, p.y);
}

}  // namespace

void RenderEntity(HDC dc, const Entity& entity, const ViewMapping& view, COLORREF colour) {
  if (!view.valid()) return;
  std::vector<POINT> points;
  for (const Point& p : entity.points) points.push_back(ToPixel(view, p));
  switch (entity.type) {
    case kLine:
    case kPolyline:
    case kAnnotation: {
      Tools tools(dc, PenWidth(view, entity.width), colour, false);
      if (entity.closed && points.size() > 2) points.push_back(points.front());
      Polyline(dc, points.data(), static_cast<int>(points.size()));
      // LineTo leaves out the last point; an open line's end belongs to it.
      if (!entity.closed) Dot(dc, points.back());
      break;
    }
    case kSolid: {
      Tools tools(dc, 1, colour, true);
      Polygon(dc, points.data(), static_cast<int>(points.size()));
      break;
    }
    case kPoint: {
      Tools tools(dc, PenWidth(view, entity.width), colour, false);
      Dot(dc, points[0]);
      break;
    }
    case kReferenceMark: {
      Tools tools(dc, 1, colour, false);
      POINT c = points[0];
      MoveToEx(dc, c.x - 3, c.y, nullptr);
      LineTo(dc, c.x + 4, c.y);
      MoveToEx(dc, c.x, c.y - 3, nullptr);
      LineTo(dc, c.x, c.y + 4);
      break;
    }
    case kCircle:
    case kArc: {
      Tools tools(dc, PenWidth(view, entity.width), colour, false);
      DevicePoint c = view.ToDevice(entity.centre);
      double rx = entity.radius * std::fabs(view.scaleX());
      double ry = entity.radius * std::fabs(view.scaleY());
      int left = PixelOf(c.x - rx), right = PixelOf(c.x + rx) + 1;
      int top = PixelOf(c.y - ry), bottom = PixelOf(c.y + ry) + 1;
      if (entity.type == kCircle) {
        Ellipse(dc, left, top, right, bottom);
        break;
      }
      auto ray = [&](double degrees) {
        double a = degrees * kPi / 180;
        return ToPixel(view, Point{entity.centre.x + entity.radius * std::cos(a),
                                   entity.centre.y + entity.radius * std::sin(a)});
      };
      POINT start = ray(entity.startAngle), end = ray(entity.endAngle);
      Arc(dc, left, top, right, bottom, start.x, start.y, end.x, end.y);
      break;
    }
    default:
      break;
  }
}

}  // namespace rasqethost
