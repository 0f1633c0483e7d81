#include "dxfreader.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "palette.h"

namespace rasqethost {
namespace {

struct Group {
  int code;
  std::string value;
  int line;  // of the code, 1-based
};

constexpr int kByBlock = 0;
constexpr int kByLayer = 256;

std::string Trim(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r");
  if (begin == std::string::npos) return "";
  size_t end = text.find_last_not_of(" \t\r");
  return text.substr(begin, end - begin + 1);
}

// One entity's (or table entry's) groups, from its 0 group to the next.
struct Record {
  std::string kind;
  int line = 0;
  std::vector<Group> groups;
};

class Reader {
 public:
  Reader(const std::string& name, Drawing& drawing, DxfResult& result)
      : name_(name), drawing_(drawing), result_(result) {}

  bool Split(const std::string& text) {
    std::istringstream in(text);
    std::string codeLine, valueLine;
    int line = 0;
    while (std::getline(in, codeLine)) {
      ++line;
      std::string code = Trim(codeLine);
      if (code.empty() && in.peek() == EOF) break;
      if (!std::getline(in, valueLine)) return Fail(line, "group code without a value");
      char* end = nullptr;
      errno = 0;
      long number = std::strtol(code.c_str(), &end, 10);
      if (code.empty() || *end != '\0' || errno != 0 || number < 0 || number > 1071) {
        return Fail(line, "'" + code + "' is not a group code");
      }
      groups_.push_back(Group{static_cast<int>(number), Trim(valueLine), line});
      ++line;
    }
    return true;
  }

  bool Read() {
    size_t i = 0;
    bool sawEof = false;
    while (i < groups_.size()) {
      const Group& g = groups_[i];
      if (g.code != 0)
        return Fail(g.line, "expected a 0 group, found code " + std::to_string(g.code));
      if (g.value == "EOF") {
        sawEof = true;
        break;
      }
      if (g.value != "SECTION") return Fail(g.line, "expected SECTION, found " + g.value);
      if (i + 1 >= groups_.size() || groups_[i + 1].code != 2)
        return Fail(g.line, "section without a name");
      std::string section = groups_[i + 1].value;
      i += 2;
      size_t end = i;
      while (end < groups_.size() && !(groups_[end].code == 0 && groups_[end].value == "ENDSEC"))
        ++end;
      if (end == groups_.size()) return Fail(g.line, "section " + section + " has no ENDSEC");
      std::vector<Record> records = Records(i, end);
      if (section == "TABLES" && !ReadLayers(records)) return false;
      if (section == "ENTITIES" && !ReadEntities(records)) return false;
      i = end + 1;
    }
    if (!sawEof && groups_.empty()) return Fail(1, "the file is empty");
    return true;
  }

 private:
  bool Fail(int line, const std::string& what) {
    result_.error = name_ + ":" + std::to_string(line) + ": " + what;
    return false;
  }

  std::vector<Record> Records(size_t begin, size_t end) const {
    std::vector<Record> records;
    for (size_t i = begin; i < end; ++i) {
      const Group& g = groups_[i];
      if (g.code == 0) {
        records.push_back(Record{g.value, g.line, {}});
      } else if (!records.empty()) {
        records.back().groups.push_back(g);
      }
    }
    return records;
  }

  bool Number(const Group& g, double& value) {
    char* end = nullptr;
    value = std::strtod(g.value.c_str(), &end);
    if (g.value.empty() || *end != '\0') {
      return Fail(g.line + 1,
                  "'" + g.value + "' is not a number (group " + std::to_string(g.code) + ")");
    }
    return true;
  }

  bool Integer(const Group& g, int& value) {
    double number;
    if (!Number(g, number)) return false;
    value = static_cast<int>(number);
    if (number != value) return Fail(g.line + 1, "'" + g.value + "' is not a whole number");
    return true;
  }

  bool ReadLayers(const std::vector<Record>& records) {
    for (const Record& record : records) {
      if (record.kind != "LAYER") continue;
      std::string name;
      int colour = 7, flags = 0;
      for (const Group& g : record.groups) {
        if (g.code == 2) name = g.value;
        if (g.code == 62 && !Integer(g, colour)) return false;
        if (g.code == 70 && !Integer(g, flags)) return false;
      }
      if (name.empty()) continue;  // the table's own header record
      int index = drawing_.LayerIndex(name);
      drawing_.layers[index].hidden = colour < 0 || (flags & 1) != 0;
      layerColours_[name] = colour < 0 ? -colour : colour;
    }
    return true;
  }

  // Common groups: layer, colour; the rest go to the entity's own reader.
  struct Common {
    std::string layer = "0";
    int colour = kByLayer;
  };

  bool ReadCommon(const Record& record, Common& common) {
    for (const Group& g : record.groups) {
      if (g.code == 8) common.layer = g.value;
      if (g.code == 62 && !Integer(g, common.colour)) return false;
    }
    return true;
  }

  void Finish(Entity& entity, const Common& common, const Record& record, bool& ok) {
    entity.layer = drawing_.LayerIndex(common.layer);
    int aci = common.colour;
    if (aci == kByLayer) {
      auto found = layerColours_.find(common.layer);
      aci = found == layerColours_.end() ? 7 : found->second;
    }
    if (aci == kByBlock) aci = 7;
    entity.colour = PaletteIndexForAci(aci < 0 ? -aci : aci);
    std::string problem = EntityProblem(entity);
    if (!problem.empty()) {
      ok = Fail(record.line, record.kind + " " + problem);
      return;
    }
    drawing_.entities.push_back(entity);
  }

  // Reads the x, y pairs of the given codes in order of appearance (10/20 by default).
  bool Points(const Record& record, int xCode, std::vector<Point>& points) {
    for (const Group& g : record.groups) {
      double value;
      if (g.code == xCode) {
        if (!Number(g, value)) return false;
        points.push_back(Point{value, std::nan("")});
      } else if (g.code == xCode + 10 && !points.empty()) {
        if (!Number(g, value)) return false;
        points.back().y = value;
      }
    }
    return true;
  }

  bool PointOf(const Record& record, int xCode, Point& point) {
    std::vector<Point> points;
    if (!Points(record, xCode, points)) return false;
    if (points.size() != 1)
      return Fail(record.line,
                  record.kind + " needs one point with group " + std::to_string(xCode));
    point = points[0];
    return true;
  }

  bool Value(const Record& record, int code, double& value) {
    for (const Group& g : record.groups) {
      if (g.code == code) return Number(g, value);
    }
    return true;
  }

  static bool Has(const Record& record, int code) {
    for (const Group& g : record.groups) {
      if (g.code == code) return true;
    }
    return false;
  }

  bool Flags(const Record& record, int& flags) {
    for (const Group& g : record.groups) {
      if (g.code == 70) return Integer(g, flags);
    }
    return true;
  }

  bool ReadEntities(const std::vector<Record>& records) {
    for (size_t i = 0; i < records.size(); ++i) {
      const Record& record = records[i];
      Common common;
      if (!ReadCommon(record, common)) return false;
      Entity entity;
      bool ok = true;
      if (record.kind == "LINE") {
        entity.type = kLine;
        Point a, b;
        if (!PointOf(record, 10, a) || !PointOf(record, 11, b)) return false;
        entity.points = {a, b};
      } else if (record.kind == "LWPOLYLINE") {
        entity.type = kPolyline;
        int flags = 0;
        if (!Points(record, 10, entity.points) || !Flags(record, flags) ||
            !Value(record, 43, entity.width))
          return false;
        entity.closed = (flags & 1) != 0;
      } else if (record.kind == "POLYLINE") {
        entity.type = kPolyline;
        int flags = 0;
        if (!Flags(record, flags)) return false;
        entity.closed = (flags & 1) != 0;
        size_t j = i + 1;
        for (; j < records.size() && records[j].kind == "VERTEX"; ++j) {
          Point p;
          if (!PointOf(records[j], 10, p)) return false;
          entity.points.push_back(p);
        }
        if (j >= records.size() || records[j].kind != "SEQEND")
          return Fail(record.line, "POLYLINE without SEQEND");
        i = j;
      } else if (record.kind == "CIRCLE" || record.kind == "ARC") {
        entity.type = record.kind == "CIRCLE" ? kCircle : kArc;
        entity.radius = std::nan("");
        if (!PointOf(record, 10, entity.centre) || !Value(record, 40, entity.radius)) return false;
        if (entity.type == kArc &&
            (!Value(record, 50, entity.startAngle) || !Value(record, 51, entity.endAngle)))
          return false;
      } else if (record.kind == "SOLID") {
        entity.type = kSolid;
        Point corners[4];
        for (int k = 0; k < 3; ++k) {
          if (!PointOf(record, 10 + k, corners[k])) return false;
        }
        // A triangle leaves out its fourth corner.
        corners[3] = corners[2];
        if (Has(record, 13) && !PointOf(record, 13, corners[3])) return false;
        // DXF lists a solid's corners as 1, 2, 4, 3 around its outline.
        entity.points = {corners[0], corners[1], corners[3], corners[2]};
      } else if (record.kind == "POINT") {
        entity.type = kPoint;
        Point p;
        if (!PointOf(record, 10, p)) return false;
        entity.points = {p};
      } else {
        ++result_.skipped[record.kind];
        continue;
      }
      Finish(entity, common, record, ok);
      if (!ok) return false;
    }
    return true;
  }

  std::string name_;
  Drawing& drawing_;
  DxfResult& result_;
  std::vector<Group> groups_;
  std::map<std::string, int> layerColours_;
};

}  // namespace

DxfResult ParseDxf(const std::string& text, const std::string& name, Drawing& drawing) {
  DxfResult result;
  if (text.compare(0, 21, "AutoCAD Binary DXF\r\n\x1a") == 0) {
    result.error = name + ": binary DXF is not supported; save the drawing as ASCII DXF";
    return result;
  }
  Drawing read;
  read.background = drawing.background;
  Reader reader(name, read, result);
  if (!reader.Split(text) || !reader.Read()) return result;
  if (read.layers.empty()) read.LayerIndex("0");
  drawing = read;
  result.ok = true;
  return result;
}

DxfResult ReadDxf(const std::string& path, Drawing& drawing) {
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) {
    DxfResult result;
    result.error = "cannot read drawing " + path + ": it is a directory";
    return result;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    DxfResult result;
    result.error = "cannot read drawing " + path + ": " + std::strerror(errno);
    return result;
  }
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) {
    DxfResult result;
    result.error = "cannot read drawing " + path + ": read error";
    return result;
  }
  return ParseDxf(text.str(), path, drawing);
}

}  // namespace rasqethost
