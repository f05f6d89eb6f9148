#include "simcad/drawing/dxf_entity.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "simcad/drawing/geometry.h"
#include "simcad/drawing/transform.h"

namespace simcad {
namespace {

constexpr double kDegrees = std::numbers::pi / 180;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Read access to the pairs of one record (the first pair, "0 TYPE", excluded).
class Fields {
 public:
  Fields(DxfRecord record, DxfEncoding encoding) : pairs_(record.subspan(1)), encoding_(encoding) {}

  std::span<const DxfPair> Pairs() const { return pairs_; }
  const DxfPair* Find(int code) const {
    for (const DxfPair& pair : pairs_)
      if (pair.code == code) return &pair;
    return nullptr;
  }
  double Double(int code, double fallback = 0) const {
    const DxfPair* pair = Find(code);
    return pair ? PairDouble(*pair) : fallback;
  }
  int Int(int code, int fallback = 0) const {
    const DxfPair* pair = Find(code);
    return pair ? PairInt(*pair) : fallback;
  }
  bool Has(int code) const { return Find(code) != nullptr; }
  // The point of the codes x, x + 10, x + 20 (first of each).
  Point PointOf(int x_code) const {
    return {Double(x_code), Double(x_code + 10), Double(x_code + 20)};
  }
  Text String(int code) const {
    const DxfPair* pair = Find(code);
    return pair ? DecodeDxfString(pair->value, encoding_) : Text();
  }
  DxfEncoding Encoding() const { return encoding_; }

 private:
  std::span<const DxfPair> pairs_;
  DxfEncoding encoding_;
};

// Every point given by the codes x, x + 10, x + 20, in file order.
std::vector<Point> PointList(std::span<const DxfPair> pairs, int x_code) {
  std::vector<Point> points;
  for (const DxfPair& pair : pairs) {
    if (pair.code == x_code) {
      points.push_back({PairDouble(pair), 0, 0});
    } else if (!points.empty() && pair.code == x_code + 10) {
      points.back().y = PairDouble(pair);
    } else if (!points.empty() && pair.code == x_code + 20) {
      points.back().z = PairDouble(pair);
    }
  }
  return points;
}

// Builds a path of points and bulges from segments that may not meet exactly.
class PathBuilder {
 public:
  void Segment(const Point& from, const Point& to, double bulge) {
    if (points_.empty() || Far(points_.back(), from)) {
      points_.push_back(from);
      bulges_.push_back(0);
    }
    bulges_.back() = bulge;
    points_.push_back(to);
    bulges_.push_back(0);
  }
  void Vertex(const Point& p, double bulge) {
    points_.push_back(p);
    bulges_.push_back(bulge);
  }
  // Moves the path into the entity; a closed path does not repeat its first point.
  void Finish(Entity& e, bool closed) {
    if (closed && points_.size() > 1 && !Far(points_.front(), points_.back())) {
      points_.pop_back();
      bulges_.pop_back();
    }
    e.closed = closed;
    e.points = std::move(points_);
    const bool any = std::any_of(bulges_.begin(), bulges_.end(), [](double b) { return b != 0; });
    if (any) e.bulges = std::move(bulges_);
    points_.clear();
    bulges_.clear();
  }

 private:
  static bool Far(const Point& a, const Point& b) { return std::abs(a.x - b.x) > 1e-9 || std::abs(a.y - b.y) > 1e-9; }
  std::vector<Point> points_;
  std::vector<double> bulges_;
};

void ToOcs(Entity& e, const Point& normal) {
  if (!IsWorldNormal(normal)) TransformEntity(e, Matrix::FromOcs(normal));
}

// TEXT, ATTRIB, ATTDEF: the box's lower-left corner from the alignment.
void ParseText(const Fields& f, Entity& e, int vertical_code) {
  e.kind = EntityKind::Text;
  e.height = f.Double(40, 1);
  e.rotation = f.Double(50) * kDegrees;
  e.text = f.String(1);
  if (e.text.empty()) e.text = f.String(2);  // an ATTDEF shows its tag
  // Control codes: %%d degree, %%p plus-minus, %%c diameter, %%u and %%o toggles, %%nnn a character.
  Text plain;
  for (std::size_t i = 0; i < e.text.size(); ++i) {
    if (e.text[i] == u'%' && i + 2 < e.text.size() && e.text[i + 1] == u'%') {
      const char16_t c = e.text[i + 2];
      if (c == u'd' || c == u'D') plain += u'\u00B0';
      else if (c == u'p' || c == u'P') plain += u'\u00B1';
      else if (c == u'c' || c == u'C') plain += u'\u2300';
      else if (c == u'%') plain += u'%';
      else if (c >= u'0' && c <= u'9' && i + 4 < e.text.size()) {
        plain += static_cast<char16_t>((c - u'0') * 100 + (e.text[i + 3] - u'0') * 10 + (e.text[i + 4] - u'0'));
        i += 2;
      } else if (c != u'u' && c != u'U' && c != u'o' && c != u'O') {
        plain += e.text.substr(i, 3);
      }
      i += 2;
      continue;
    }
    plain += e.text[i];
  }
  e.text = std::move(plain);
  const double width_factor = f.Double(41, 1);
  const int horizontal = f.Int(72);
  const int vertical = f.Int(vertical_code);
  Point origin = f.PointOf(10);
  double width = EstimatedTextWidth(e.text, e.height) * (width_factor > 0 ? width_factor : 1);
  if ((horizontal != 0 || vertical != 0) && f.Has(11)) {
    const Point align = f.PointOf(11);
    if (horizontal == 3 || horizontal == 5) {  // aligned or fit: the text spans from the first point to the second
      width = std::hypot(align.x - origin.x, align.y - origin.y);
      e.rotation = std::atan2(align.y - origin.y, align.x - origin.x);
    } else {
      const double dx = horizontal == 1 || horizontal == 4 ? 0.5 : horizontal == 2 ? 1 : 0;
      const double dy = horizontal == 4 || vertical == 2 ? 0.5 : vertical == 3 ? 1 : 0;
      const double c = std::cos(e.rotation), s = std::sin(e.rotation);
      const double along = dx * width, up = dy * e.height;
      origin = {align.x - along * c + up * s, align.y - along * s - up * c, align.z};
    }
  }
  e.width = width;
  e.points = {origin};
}

void ParseMText(const Fields& f, Entity& e) {
  e.kind = EntityKind::Text;
  e.height = f.Double(40, 1);
  Text raw;
  for (const DxfPair& pair : f.Pairs())
    if (pair.code == 3) raw += DecodeDxfString(pair.value, f.Encoding());
  raw += f.String(1);
  e.text = PlainMText(raw);
  e.rotation = f.Double(50) * kDegrees;
  if (f.Has(11)) {
    const Point direction = f.PointOf(11);
    if (direction.x != 0 || direction.y != 0) e.rotation = std::atan2(direction.y, direction.x);
  }
  const double reference = f.Double(41);
  double width = EstimatedTextWidth(e.text, e.height);
  if (reference > 0 && width > reference) {  // long lines wrap at the reference width
    Text wrapped;
    std::size_t start = 0;
    while (start <= e.text.size()) {
      const std::size_t end = std::min(e.text.find(u'\n', start), e.text.size());
      const Text line = e.text.substr(start, end - start);
      const double line_width = EstimatedTextWidth(line, e.height);
      wrapped += line;
      for (int extra = static_cast<int>(std::ceil(line_width / reference)) - 1; extra > 0; --extra) wrapped += u'\n';
      if (end < e.text.size()) wrapped += u'\n';
      start = end + 1;
    }
    e.text = std::move(wrapped);
    width = reference;
  }
  const int attachment = std::clamp(f.Int(71, 1), 1, 9);
  const double dx = ((attachment - 1) % 3) * 0.5;
  const double dy = 1 - ((attachment - 1) / 3) * 0.5;  // top row: the insertion point is the box's top
  const double height = TextBoxHeight(e.text, e.height);
  const Point at = f.PointOf(10);
  const double c = std::cos(e.rotation), s = std::sin(e.rotation);
  e.width = width;
  e.points = {{at.x - dx * width * c + dy * height * s, at.y - dx * width * s - dy * height * c, at.z}};
}

void ParseLwPolyline(const Fields& f, Entity& e) {
  e.kind = EntityKind::Polyline;
  const double elevation = f.Double(38);
  PathBuilder path;
  std::vector<Point> points;
  std::vector<double> bulges;
  for (const DxfPair& pair : f.Pairs()) {
    if (pair.code == 10) {
      points.push_back({PairDouble(pair), 0, elevation});
      bulges.push_back(0);
    } else if (!points.empty() && pair.code == 20) {
      points.back().y = PairDouble(pair);
    } else if (!points.empty() && pair.code == 42) {
      bulges.back() = PairDouble(pair);
    }
  }
  for (std::size_t i = 0; i < points.size(); ++i) path.Vertex(points[i], bulges[i]);
  path.Finish(e, f.Int(70) & 1);
}

void ParsePolyline(const Fields& f, std::span<const DxfRecord> vertices, Entity& e) {
  e.kind = EntityKind::Polyline;
  const int flags = f.Int(70);
  PathBuilder path;
  for (const DxfRecord& record : vertices) {
    const Fields v(record, f.Encoding());
    const int vertex_flags = v.Int(70);
    if (vertex_flags & 16) continue;                              // spline frame control point
    if ((vertex_flags & 128) && !(vertex_flags & 64)) continue;  // polyface face record
    path.Vertex(v.PointOf(10), v.Double(42));
  }
  path.Finish(e, flags & 1);
}

void ParseSpline(const Fields& f, Entity& e) {
  e.kind = EntityKind::Spline;
  e.points = PointList(f.Pairs(), 10);
  if (e.points.empty()) e.points = PointList(f.Pairs(), 11);  // fit points only
  e.closed = f.Int(70) & 1;
}

void ParseEllipse(const Fields& f, Entity& e) {
  e.kind = EntityKind::Ellipse;
  e.points = {f.PointOf(10), f.PointOf(11)};
  e.ratio = f.Double(40, 1);
  e.start_angle = f.Double(41);
  e.end_angle = f.Double(42, 2 * std::numbers::pi);
  const Point normal = f.PointOf(210);
  if (f.Has(230) && normal.z < 0) {  // seen from above, the parameter runs clockwise
    const double start = e.start_angle;
    e.start_angle = -e.end_angle;
    e.end_angle = -start;
  }
}

// The edges of one HATCH boundary loop given edge by edge.
void ReadEdges(std::span<const DxfPair> pairs, std::size_t& i, int edge_count, PathBuilder& path) {
  const auto take = [&](int code) -> double {
    for (; i < pairs.size(); ++i)
      if (pairs[i].code == code) return PairDouble(pairs[i++]);
    return 0;
  };
  const auto take_int = [&](int code) -> int {
    for (; i < pairs.size(); ++i)
      if (pairs[i].code == code) return PairInt(pairs[i++]);
    return 0;
  };
  for (int edge = 0; edge < edge_count && i < pairs.size(); ++edge) {
    const int type = take_int(72);
    if (type == 1) {
      const Point a{take(10), take(20), 0};
      const Point b{take(11), take(21), 0};
      path.Segment(a, b, 0);
    } else if (type == 2 || type == 3) {
      const Point centre{take(10), take(20), 0};
      Point major{0, 0, 0};
      if (type == 3) major = {take(11), take(21), 0};
      const double radius_or_ratio = take(40);
      double start = take(50) * kDegrees;
      double end = take(51) * kDegrees;
      const bool ccw = i < pairs.size() && pairs[i].code == 73 ? PairInt(pairs[i++]) != 0 : true;
      if (!ccw) {  // clockwise edges store their angles mirrored
        start = -start;
        end = -end;
      }
      double sweep = ccw ? std::fmod(end - start, 2 * std::numbers::pi) : std::fmod(start - end, 2 * std::numbers::pi);
      if (sweep <= 1e-12) sweep += 2 * std::numbers::pi;
      const int steps = std::max(2, static_cast<int>(std::ceil(sweep / (std::numbers::pi / 32))));
      Entity shape;
      shape.points = {centre, major};
      shape.ratio = radius_or_ratio;
      const auto at = [&](double angle) -> Point {
        if (type == 2)
          return {centre.x + radius_or_ratio * std::cos(angle), centre.y + radius_or_ratio * std::sin(angle), 0};
        return EllipsePoint(shape, angle);
      };
      Point previous = at(start);
      for (int k = 1; k <= steps; ++k) {
        const double angle = start + (ccw ? 1 : -1) * sweep * k / steps;
        const Point next = at(angle);
        path.Segment(previous, next, 0);
        previous = next;
      }
    } else if (type == 4) {
      take_int(94);
      const bool rational = take_int(73) != 0;
      take_int(74);
      const int knots = take_int(95);
      const int controls = take_int(96);
      for (int k = 0; k < knots; ++k) take(40);
      Point previous;
      for (int k = 0; k < controls && i < pairs.size(); ++k) {
        const Point next{take(10), take(20), 0};
        if (rational) take(42);
        if (k > 0) path.Segment(previous, next, 0);
        previous = next;
      }
    }
  }
}

void ParseHatch(const Fields& f, Entity& e) {
  e.kind = EntityKind::Hatch;
  const std::span<const DxfPair> pairs = f.Pairs();
  const double elevation = f.Double(30);
  std::size_t i = 0;
  while (i < pairs.size() && pairs[i].code != 91) ++i;
  if (i == pairs.size()) return;
  const int loops = PairInt(pairs[i++]);
  std::vector<Entity> boundaries;
  for (int loop = 0; loop < loops && i < pairs.size(); ++loop) {
    while (i < pairs.size() && pairs[i].code != 92) ++i;
    if (i == pairs.size()) break;
    const int flags = PairInt(pairs[i++]);
    PathBuilder path;
    Entity boundary;
    boundary.kind = EntityKind::Polyline;
    if (flags & 2) {  // a polyline loop
      int count = 0;  // a boundary loop is closed whatever its flag says
      for (; i < pairs.size() && pairs[i].code != 10; ++i)
        if (pairs[i].code == 93) count = PairInt(pairs[i]);
      for (int k = 0; k < count && i < pairs.size() && pairs[i].code == 10; ++k) {
        Point p{PairDouble(pairs[i++]), 0, elevation};
        if (i < pairs.size() && pairs[i].code == 20) p.y = PairDouble(pairs[i++]);
        double bulge = 0;
        if (i < pairs.size() && pairs[i].code == 42) bulge = PairDouble(pairs[i++]);
        path.Vertex(p, bulge);
      }
      path.Finish(boundary, true);
    } else {
      int edges = 0;
      while (i < pairs.size() && pairs[i].code != 93) ++i;
      if (i < pairs.size()) edges = PairInt(pairs[i++]);
      ReadEdges(pairs, i, edges, path);
      path.Finish(boundary, true);
    }
    for (Point& p : boundary.points) p.z = elevation;
    if (!boundary.points.empty()) boundaries.push_back(std::move(boundary));
  }
  if (boundaries.empty()) return;
  e.points = std::move(boundaries.front().points);
  e.bulges = std::move(boundaries.front().bulges);
  e.closed = true;
  for (std::size_t k = 1; k < boundaries.size(); ++k) {
    boundaries[k].layer = e.layer;
    boundaries[k].colour = e.colour;
    e.parts.push_back(std::move(boundaries[k]));
  }
}

}  // namespace

Text PlainMText(TextView text) {
  Text out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'{' || c == u'}') continue;
    if (c != u'\\' || i + 1 >= text.size()) {
      out += c;
      continue;
    }
    const char16_t code = text[++i];
    switch (code) {
      case u'P': out += u'\n'; break;
      case u'~': out += u' '; break;
      case u'\\': case u'{': case u'}': out += code; break;
      case u'L': case u'l': case u'O': case u'o': case u'K': case u'k': case u'N': break;
      case u'S': {  // stacked text "a^b": shown as "a/b"
        const std::size_t end = text.find(u';', i);
        const std::size_t stop = end == TextView::npos ? text.size() : end;
        for (std::size_t k = i + 1; k < stop; ++k) out += (text[k] == u'^' || text[k] == u'#') ? u'/' : text[k];
        i = stop;
        break;
      }
      case u'A': case u'C': case u'c': case u'F': case u'f': case u'H': case u'h': case u'Q': case u'q':
      case u'T': case u't': case u'W': case u'w': case u'p': {
        const std::size_t end = text.find(u';', i);
        i = end == TextView::npos ? text.size() : end;
        break;
      }
      default:
        out += u'\\';
        out += code;
        break;
    }
  }
  return out;
}

ParsedEntity ParseEntity(DxfRecord record, std::span<const DxfRecord> vertices, DxfEncoding encoding) {
  ParsedEntity parsed;
  Entity& e = parsed.entity;
  const Fields f(record, encoding);
  const std::string_view type = Trim(record.front().value);
  if (const DxfPair* layer = f.Find(8)) e.layer = DecodeDxfString(Trim(layer->value), encoding);
  if (e.layer.empty()) e.layer.push_back(u'0');  // (assigning a literal trips a false -Wrestrict in GCC 12 -O3)
  e.colour = f.Int(62, 256);
  if (e.colour < 0) e.colour = -e.colour;
  if (e.colour > 256) e.colour = 256;
  parsed.paper_space = f.Int(67) == 1;
  const Point normal = f.Has(210) || f.Has(220) || f.Has(230) ? Point{f.Double(210), f.Double(220), f.Double(230, 1)}
                                                               : Point{0, 0, 1};
  if (type == "LINE") {
    e.kind = EntityKind::Line;
    e.points = {f.PointOf(10), f.PointOf(11)};
  } else if (type == "POINT") {
    e.kind = EntityKind::Point;
    e.points = {f.PointOf(10)};
  } else if (type == "CIRCLE" || type == "ARC") {
    e.kind = type == "ARC" ? EntityKind::Arc : EntityKind::Circle;
    e.points = {f.PointOf(10)};
    e.radius = f.Double(40);
    e.start_angle = f.Double(50) * kDegrees;
    e.end_angle = type == "ARC" ? f.Double(51) * kDegrees : 2 * std::numbers::pi;
    ToOcs(e, normal);
  } else if (type == "ELLIPSE") {
    ParseEllipse(f, e);
  } else if (type == "LWPOLYLINE") {
    ParseLwPolyline(f, e);
    ToOcs(e, normal);
  } else if (type == "POLYLINE") {
    ParsePolyline(f, vertices, e);
    if (!(f.Int(70) & (8 | 16 | 64))) ToOcs(e, normal);  // 2D polylines lie in their OCS
  } else if (type == "SPLINE") {
    ParseSpline(f, e);
  } else if (type == "TEXT") {
    ParseText(f, e, 73);
    ToOcs(e, normal);
  } else if (type == "ATTRIB" || type == "ATTDEF") {
    ParseText(f, e, 74);
    parsed.hidden = f.Int(70) & 1;
    ToOcs(e, normal);
  } else if (type == "MTEXT") {
    ParseMText(f, e);
  } else if (type == "SOLID" || type == "TRACE") {
    e.kind = EntityKind::Solid;
    e.points = {f.PointOf(10), f.PointOf(11), f.PointOf(13), f.PointOf(12)};
    if (!f.Has(13)) e.points.erase(e.points.begin() + 2);  // a triangle
    e.closed = true;
    ToOcs(e, normal);
  } else if (type == "3DFACE") {
    e.kind = EntityKind::Other;
    e.points = {f.PointOf(10), f.PointOf(11), f.PointOf(12), f.PointOf(13)};
    e.closed = true;
  } else if (type == "HATCH") {
    ParseHatch(f, e);
    ToOcs(e, normal);
  } else if (type == "DIMENSION") {
    e.kind = EntityKind::Dimension;
    for (const int code : {10, 11, 13, 14, 15, 16})
      if (f.Has(code)) e.points.push_back(f.PointOf(code));
    parsed.dimension_block = f.String(2);
  } else if (type == "INSERT") {
    e.kind = EntityKind::Insert;
    BlockReference ref;
    ref.block = f.String(2);
    ref.insertion = f.PointOf(10);
    ref.scale = {f.Double(41, 1), f.Double(42, 1), f.Double(43, 1)};
    ref.rotation = f.Double(50) * kDegrees;
    ref.columns = std::clamp(f.Int(70, 1), 1, 10000);
    ref.rows = std::clamp(f.Int(71, 1), 1, 10000);
    ref.column_spacing = f.Double(44);
    ref.row_spacing = f.Double(45);
    ref.normal = normal;
    e.text = ref.block;
    e.points = {IsWorldNormal(normal) ? ref.insertion : Matrix::FromOcs(normal).Apply(ref.insertion)};
    parsed.reference = std::move(ref);
  } else if (type == "IMAGE" || type == "WIPEOUT") {
    e.kind = EntityKind::Other;
    const Point at = f.PointOf(10), u = f.PointOf(11), v = f.PointOf(12);
    const double width = f.Double(13, 1), height = f.Double(23, 1);
    const Point across{u.x * width, u.y * width, u.z * width};
    const Point up{v.x * height, v.y * height, v.z * height};
    e.points = {at, {at.x + across.x, at.y + across.y, at.z + across.z},
                {at.x + across.x + up.x, at.y + across.y + up.y, at.z + across.z + up.z},
                {at.x + up.x, at.y + up.y, at.z + up.z}};
    e.closed = true;
  } else {
    // Any other type: whatever points it carries (LEADER vertices, VIEWPORT centre, ...).
    e.kind = EntityKind::Other;
    for (int code = 10; code <= 18; ++code) {
      const std::vector<Point> points = PointList(f.Pairs(), code);
      e.points.insert(e.points.end(), points.begin(), points.end());
    }
  }
  return parsed;
}

}  // namespace simcad
