#include "drawing.h"

#include <algorithm>
#include <cmath>

namespace rasqethost {
namespace {

constexpr double kPi = 3.14159265358979323846;

bool Finite(Point p) {
  return std::isfinite(p.x) && std::isfinite(p.y);
}

// True if the angle (degrees) lies on the counter-clockwise sweep from start to end.
bool OnSweep(double angle, double start, double end) {
  auto normal = [](double a) {
    a = std::fmod(a, 360.0);
    return a < 0 ? a + 360.0 : a;
  };
  double sweep = normal(end - start);
  if (sweep == 0) sweep = 360;
  return normal(angle - start) <= sweep;
}

}  // namespace

void Bounds::Add(Point p) {
  if (empty) {
    x0 = x1 = p.x;
    y0 = y1 = p.y;
    empty = false;
    return;
  }
  x0 = std::min(x0, p.x);
  y0 = std::min(y0, p.y);
  x1 = std::max(x1, p.x);
  y1 = std::max(y1, p.y);
}

void Bounds::Add(const Bounds& other) {
  if (other.empty) return;
  Add(Point{other.x0, other.y0});
  Add(Point{other.x1, other.y1});
}

int Drawing::LayerIndex(const std::string& name) {
  for (size_t i = 0; i < layers.size(); ++i) {
    if (layers[i].name == name) return static_cast<int>(i);
  }
  layers.push_back(Layer{name, false});
  return static_cast<int>(layers.size() - 1);
}

Bounds EntityBounds(const Entity& entity) {
  Bounds bounds;
  const Point& c = entity.centre;
  double r = entity.radius;
  switch (entity.type) {
    case kCircle:
      bounds.Add(Point{c.x - r, c.y - r});
      bounds.Add(Point{c.x + r, c.y + r});
      break;
    case kArc: {
      auto at = [&](double degrees) {
        double a = degrees * kPi / 180;
        return Point{c.x + r * std::cos(a), c.y + r * std::sin(a)};
      };
      bounds.Add(at(entity.startAngle));
      bounds.Add(at(entity.endAngle));
      for (double axis : {0.0, 90.0, 180.0, 270.0}) {
        if (OnSweep(axis, entity.startAngle, entity.endAngle)) bounds.Add(at(axis));
      }
      break;
    }
    default:
      for (const Point& p : entity.points) bounds.Add(p);
  }
  return bounds;
}

std::string EntityProblem(const Entity& entity) {
  size_t needed = 0;
  switch (entity.type) {
    case kLine:
      needed = 2;
      break;
    case kPolyline:
    case kAnnotation:
      needed = 2;
      break;
    case kSolid:
      needed = 3;
      break;
    case kPoint:
    case kReferenceMark:
      needed = 1;
      break;
    case kCircle:
    case kArc:
      if (!Finite(entity.centre) || !std::isfinite(entity.radius) || entity.radius <= 0) {
        return "needs a centre and a positive radius";
      }
      if (!std::isfinite(entity.startAngle) || !std::isfinite(entity.endAngle)) {
        return "has an angle that is not a number";
      }
      return "";
    default:
      return "has an unknown type";
  }
  if (entity.points.size() < needed) return "has too few points";
  for (const Point& p : entity.points) {
    if (!Finite(p)) return "has a coordinate that is not a number";
  }
  if (!std::isfinite(entity.width) || entity.width < 0) return "has a bad width";
  return "";
}

}  // namespace rasqethost
