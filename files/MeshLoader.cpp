// The mesh reader for catalogue shapes: tokens, "Tri-mesh" objects, their vertices and faces, flat
// normals, and the merged triangle list of a shape.
//
// Index: [SECTION] Tokens  [SECTION] Objects  [SECTION] Triangle list  [SECTION] Files

#include "files/MeshLoader.h"

#include <array>
#include <cmath>

#include "files/TextScan.h"
#include "platform/paths.h"

// [SECTION] Tokens

namespace {

bool isDelimiter(char c) { return isBlank(c) || c == ':' || c == ','; }

class TokenReader {
public:
  explicit TokenReader(std::string_view bytes) : text(bytes) {}

  // The next token, with page headers (the word "Page" and its number) passed over. False at the end.
  bool next(std::string& token) {
    while (raw(token)) {
      if (token.compare(0, 4, "Page") != 0) return true;
      std::string pageNumber;
      if (!raw(pageNumber)) return false;
    }
    return false;
  }

private:
  bool raw(std::string& token) {
    while (position < text.size() && isDelimiter(text[position])) ++position;
    if (position >= text.size()) return false;
    const size_t start = position;
    while (position < text.size() && !isDelimiter(text[position])) ++position;
    // A token cut off by the end of the file is taken as it stands.
    token.assign(text.substr(start, std::min(position - start, kMaxMeshToken)));
    if (position < text.size()) ++position;  // the delimiter is consumed
    return true;
  }

  std::string_view text;
  size_t position = 0;
};

// [SECTION] Objects

using Point = std::array<double, 3>;

struct MeshEntry {
  int32_t vertexCount = 0;
  int32_t faceCount = 0;
  std::vector<Point> vertices;
  std::vector<Point> faceNormals;
  std::vector<std::array<int32_t, 3>> faces;
};

void widen(Shape& shape, int axis, double value) {
  const float v = static_cast<float>(value);  // leadingNumber keeps values inside the float range
  float& low = axis == 0 ? shape.minX : axis == 1 ? shape.minY : shape.minZ;
  float& high = axis == 0 ? shape.maxX : axis == 1 ? shape.maxY : shape.maxZ;
  if (v < low) low = v;
  if (v > high) high = v;
}

// One vertex: the values after the markers X, Y and Z, in that order, whatever lies between them
// (mapping values after Z included). False when the file ends first.
bool readVertex(TokenReader& tokens, Shape& shape, Point& point) {
  std::string token;
  do {
    if (!tokens.next(token)) return false;
  } while (token[0] != 'X');
  while (true) {
    for (int axis = 0; axis < 3; ++axis) {
      if (token[0] != "XYZ"[axis]) continue;
      std::string value;
      if (!tokens.next(value)) return false;
      point[axis] = leadingNumber(value);
      widen(shape, axis, point[axis]);
      if (axis == 2) return true;
      token = value;
    }
    if (!tokens.next(token)) return false;
  }
}

// One face: the corners after the tokens exactly "A", "B" and "C"; "C" ends the face. Edge flags,
// smoothing groups and numbers on the way are passed over.
bool readFace(TokenReader& tokens, std::array<int32_t, 3>& corners) {
  std::string token, value;
  while (tokens.next(token)) {
    if (token.size() != 1 || token[0] < 'A' || token[0] > 'C') continue;
    if (!tokens.next(value)) return false;
    corners[token[0] - 'A'] = leadingInt(value);
    if (token[0] == 'C') return true;
  }
  return false;
}

// The unit normal of the triangle PQR; a degenerate triangle faces straight up.
Point faceNormal(const Point& p, const Point& q, const Point& r) {
  const double ux = q[0] - p[0], uy = q[1] - p[1], uz = q[2] - p[2];
  const double vx = r[0] - p[0], vy = r[1] - p[1], vz = r[2] - p[2];
  const Point n{uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx};
  const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  if (!(length > 0) || !std::isfinite(length)) return {0, 1, 0};
  return {n[0] / length, n[1] / length, n[2] / length};
}

// Reads one object after its "Tri-mesh" token. False when the file ended inside it.
bool readObject(TokenReader& tokens, Shape& shape, MeshEntry& mesh, int32_t facesSoFar) {
  std::string token;
  if (!tokens.next(token) || !tokens.next(token)) return false;
  mesh.vertexCount = std::max(leadingInt(token), 0);
  if (!tokens.next(token) || !tokens.next(token)) return false;
  mesh.faceCount = std::max(leadingInt(token), 0);

  // The header's counts are not trusted for allocation: the lists grow as entries are actually read.
  for (int32_t i = 0; i < mesh.vertexCount; ++i) {
    Point point{0, 0, 0};
    if (!readVertex(tokens, shape, point)) return false;
    mesh.vertices.push_back(point);
  }
  const auto vertexTotal = static_cast<int64_t>(mesh.vertices.size());
  for (int32_t i = 0; i < mesh.faceCount; ++i) {
    std::array<int32_t, 3> corners{0, 0, 0};
    if (!readFace(tokens, corners)) return false;
    // A corner outside the object's own vertex list makes no triangle.
    bool inside = true;
    for (int32_t corner : corners) inside = inside && corner >= 0 && corner < vertexTotal;
    if (!inside || facesSoFar + static_cast<int32_t>(mesh.faces.size()) >= kMaxShapeFaces) continue;
    mesh.faces.push_back(corners);
    mesh.faceNormals.push_back(
        faceNormal(mesh.vertices[corners[0]], mesh.vertices[corners[1]], mesh.vertices[corners[2]]));
  }
  return true;
}

// [SECTION] Triangle list

void buildTriangleList(const std::vector<MeshEntry>& meshes, Shape& shape) {
  static constexpr float kCornerUV[3][2] = {{0, 0}, {1, 0}, {0, 1}};
  int64_t faces = 0;
  for (const MeshEntry& mesh : meshes) faces += static_cast<int64_t>(mesh.faces.size());
  shape.faceCount = static_cast<int32_t>(faces);
  shape.vertexCount = shape.faceCount * 3;
  shape.vertices.clear();
  shape.vertices.reserve(static_cast<size_t>(shape.vertexCount));
  for (const MeshEntry& mesh : meshes) {
    for (size_t f = 0; f < mesh.faces.size(); ++f) {
      const Point& n = mesh.faceNormals[f];
      for (int corner = 0; corner < 3; ++corner) {
        const Point& p = mesh.vertices[mesh.faces[f][corner]];
        shape.vertices.push_back(Vertex{static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]),
                                        static_cast<float>(n[0]), static_cast<float>(n[1]), static_cast<float>(n[2]),
                                        kCornerUV[corner][0], kCornerUV[corner][1]});
      }
    }
  }
  shape.indices.resize(shape.vertices.size());
  for (size_t i = 0; i < shape.indices.size(); ++i) shape.indices[i] = static_cast<int32_t>(i);
}

}  // namespace

void loadShapeFromText(std::string_view text, Shape& shape) {
  TokenReader tokens(text);
  std::vector<MeshEntry> meshes;
  meshes.reserve(20);
  shape.meshCapacity = 20;
  int32_t faces = 0;
  std::string token;
  while (tokens.next(token)) {
    if (token.compare(0, 8, "Tri-mesh") != 0) continue;
    if (static_cast<int32_t>(meshes.size()) + 1 >= shape.meshCapacity) {
      shape.meshCapacity += 20;
      meshes.reserve(static_cast<size_t>(shape.meshCapacity));
    }
    MeshEntry& mesh = meshes.emplace_back();
    const bool complete = readObject(tokens, shape, mesh, faces);
    faces += static_cast<int32_t>(mesh.faces.size());
    if (!complete) break;  // the file ended inside the object: keep what was read of it
  }
  buildTriangleList(meshes, shape);
}

// [SECTION] Files

constexpr size_t kMaxMeshFileBytes = 64u << 20;

std::unique_ptr<Shape> LoadShape(const std::string& meshPath) {
  std::string bytes;
  if (!readWholeFile(meshPath, bytes, kMaxMeshFileBytes)) return nullptr;
  auto shape = std::make_unique<Shape>();
  loadShapeFromText(bytes, *shape);
  return shape;
}

std::vector<std::string> readCatalogueList(std::string_view text) {
  std::vector<std::string> paths;
  LineReader lines(text, 199);
  std::string line;
  while (lines.next(line) && paths.size() < static_cast<size_t>(kCatalogueEntries)) {
    if (!line.empty() && line[0] == '/') continue;
    size_t start = 0;
    while (start < line.size() && isBlank(line[start])) ++start;
    if (start == line.size()) continue;  // a blank line names nothing
    size_t end = start;
    while (end < line.size() && !isBlank(line[end])) ++end;
    paths.push_back(line.substr(start, end - start));
  }
  return paths;
}

bool LoadShapeCatalogue(ShapeCatalogue& catalogue, const std::string& listPath) {
  clearShapeCatalogue(catalogue);
  std::string bytes;
  if (!readWholeFile(listPath, bytes, 1u << 20)) return false;
  const std::vector<std::string> paths = readCatalogueList(bytes);
  for (size_t i = 0; i < paths.size(); ++i) catalogue.entries[i] = LoadShape(paths[i]);
  return true;
}
