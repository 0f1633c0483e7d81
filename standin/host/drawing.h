// The drawing the stand-in host holds: layers and entities in drawing units, y upwards.
#ifndef RASQET_STANDIN_HOST_DRAWING_H
#define RASQET_STANDIN_HOST_DRAWING_H

#include <string>
#include <vector>

namespace rasqethost {

// Entity type codes as the host reports them to extensions. Two have rules of their own
// in the module: an annotation is drawn even on a hidden layer, and a reference mark on a
// hidden layer still counts for the extents.
enum EntityType : int {
  kLine = 1,
  kPolyline = 2,
  kCircle = 3,
  kArc = 4,
  kSolid = 5,
  kPoint = 6,
  kAnnotation = 18,     // an open or closed polyline, e.g. a north arrow
  kReferenceMark = 29,  // a point shown as a small cross
};

struct Point {
  double x = 0;
  double y = 0;
};

struct Entity {
  int type = kLine;
  int layer = 0;
  int colour = 0;             // host palette index
  double width = 0;           // pen width in drawing units; 0 draws one pixel wide
  std::vector<Point> points;  // line: 2; polylines: the vertices; solid: 3 or 4 in outline
                              // order; point and reference mark: 1
  bool closed = false;        // polylines
  Point centre;               // circle and arc
  double radius = 0;
  double startAngle = 0;  // arc, degrees counter-clockwise from the x axis
  double endAngle = 0;
};

struct Layer {
  std::string name;
  bool hidden = false;
};

struct Bounds {
  bool empty = true;
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  void Add(Point p);
  void Add(const Bounds& other);
};

struct Drawing {
  std::vector<Layer> layers;
  std::vector<Entity> entities;
  int background = 15;  // palette index of the drawing's background

  // The layer's index, added (shown) if it is new.
  int LayerIndex(const std::string& name);
};

// The extents of one entity: its vertices, or the exact bounds of a circle or arc.
Bounds EntityBounds(const Entity& entity);

// Checks an entity read from outside; empty when it is usable, else what is wrong.
std::string EntityProblem(const Entity& entity);

}  // namespace rasqethost

#endif
