#include "sampledrawing.h"

#include "palette.h"

namespace rasqethost {
namespace {

class Builder {
 public:
  explicit Builder(Drawing& drawing) : drawing_(drawing) {}

  void Layer(const char* name, bool hidden) {
    layer_ = drawing_.LayerIndex(name);
    drawing_.layers[layer_].hidden = hidden;
  }
  void Line(Point a, Point b, int colour, double width = 0) {
    Add(kLine, colour, width, {a, b}, false);
  }
  void Polyline(std::vector<Point> points, bool closed, int colour, double width = 0) {
    Add(kPolyline, colour, width, std::move(points), closed);
  }
  void Solid(std::vector<Point> outline, int colour) {
    Add(kSolid, colour, 0, std::move(outline), true);
  }
  void Dot(Point p, int colour) { Add(kPoint, colour, 0, {p}, false); }
  void Circle(Point centre, double radius, int colour) {
    Arc(centre, radius, 0, 0, colour, kCircle);
  }
  void Arc(Point centre, double radius, double start, double end, int colour, int type = kArc) {
    Entity entity;
    entity.type = type;
    entity.layer = layer_;
    entity.colour = colour;
    entity.centre = centre;
    entity.radius = radius;
    entity.startAngle = start;
    entity.endAngle = end;
    drawing_.entities.push_back(entity);
  }
  void Add(int type, int colour, double width, std::vector<Point> points, bool closed) {
    Entity entity;
    entity.type = type;
    entity.layer = layer_;
    entity.colour = colour;
    entity.width = width;
    entity.points = std::move(points);
    entity.closed = closed;
    drawing_.entities.push_back(entity);
  }

 private:
  Drawing& drawing_;
  int layer_ = 0;
};

}  // namespace

Drawing SampleDrawing() {
  Drawing drawing;
  drawing.background = kWhite;
  Builder b(drawing);

  b.Layer("Walls", false);
  b.Polyline({{0, 0}, {16, 0}, {16, 10}, {0, 10}}, true, kBlack, 0.3);
  b.Line({9, 0}, {9, 6}, kBlack, 0.15);
  b.Line({9, 7.2}, {9, 10}, kBlack, 0.15);

  b.Layer("Windows", false);
  b.Line({2, 0}, {5, 0}, kBlue, 0.1);
  b.Line({11, 10}, {14, 10}, kBlue, 0.1);
  b.Line({16, 3}, {16, 6}, kCyan, 0.1);

  b.Layer("Doors", false);
  b.Arc({9, 6}, 1.2, 0, 90, kRed);
  b.Line({9, 6}, {10.2, 6}, kRed);
  b.Arc({6, 0}, 1, 0, 90, kRed);
  b.Line({6, 0}, {6, 1}, kRed);

  b.Layer("Furniture", false);
  b.Circle({4, 5.5}, 1.2, kGreen);
  for (Point chair : {Point{4, 7.2}, Point{4, 3.8}, Point{2.3, 5.5}, Point{5.7, 5.5}}) {
    b.Circle(chair, 0.35, kDarkGreen);
  }
  b.Polyline({{0.5, 8}, {0.5, 9.5}, {3.5, 9.5}, {3.5, 8}}, false, kDarkCyan, 0.05);
  b.Polyline({{12, 6.5}, {15.5, 6.5}, {15.5, 9.5}, {12, 9.5}}, true, kBrown);
  b.Polyline({{12.2, 8.4}, {13.2, 8.4}, {13.2, 9.3}, {12.2, 9.3}}, true, kBrown);
  b.Solid({{11, 1.5}, {14.5, 1.5}, {14.5, 4.5}, {11, 4.5}}, kYellow);
  b.Solid({{8.7, 0.3}, {9.3, 0.3}, {9.3, 0.9}, {8.7, 0.9}}, kDarkGrey);
  b.Solid({{12.25, 2.2}, {13.25, 3.8}, {11.7, 3.0}}, kMagenta);

  b.Layer("Dimensions", false);
  b.Line({0, -1}, {16, -1}, kMagenta);
  b.Line({0, -1.3}, {0, -0.7}, kMagenta);
  b.Line({16, -1.3}, {16, -0.7}, kMagenta);
  b.Line({-1, 0}, {-1, 10}, kMagenta);
  for (Point p : {Point{2, -1}, Point{5, -1}, Point{9, -1}}) b.Dot(p, kDarkRed);

  b.Layer("Construction", true);
  b.Line({0, 0}, {16, 10}, kLightGrey);
  b.Circle({8, 5}, 4, kLightGrey);
  b.Add(kAnnotation, kBlack, 0.05, {{17.5, 8}, {18, 9.5}, {18.5, 8}, {18, 8.5}}, true);
  b.Add(kReferenceMark, kRed, 0, {{-2, 12}}, false);
  return drawing;
}

}  // namespace rasqethost
