#pragma once
// A mesh: textured quads and triangles grouped by texture, uploaded once into
// vertex buffer objects and drawn with one call per texture and primitive
// kind. Adding geometry only fills lists, so what a mesh holds can be read
// back before (and without) any upload.

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "support/BasicVector.h"

// All geometry of one texture.
struct TextureGeometry {
  std::vector<Float3> verticesQuadVect;  // four per quad, in drawing order
  std::vector<Float2> texCoordQuadVect;  // one per quad vertex
  std::vector<Float3> verticesTriVect;   // three per triangle
  std::vector<Float2> texCoordTriVect;   // one per triangle vertex
  bool transparent = false;              // drawn after every texture that is not
};

// One uploaded draw call.
struct VBOBuffer {
  unsigned int vertexBufferId = 0;    // positions, three floats per vertex; 0 when not uploaded
  unsigned int texCoordBufferId = 0;  // texture coordinates, two floats per vertex
  int vertexCount = 0;
  unsigned int textureId = 0;  // the OpenGL texture name bound for the draw
  bool isQuads = true;         // quads, else triangles
};

class VBO {
 public:
  // Whether the driver offers vertex buffer objects; without them a build
  // makes records without buffers and a draw draws nothing.
  static bool vboSupported;

  // Sets vboSupported and looks the buffer entry points up, from the driver of
  // the current context; prints one error line when the extension is missing.
  static void initExtension();
  // The same from a given extension string (null: none) and entry-point
  // lookup. An entry point the lookup cannot find counts as no support.
  static void initExtension(const char* extensions, void* (*lookup)(const char* name));
  // True when `name` is one of the blank-separated words of `extensions`.
  static bool isExtensionListed(const char* extensions, const char* name);

  VBO() = default;
  ~VBO();
  VBO(const VBO&) = delete;
  VBO& operator=(const VBO&) = delete;

  // Textures are OpenGL texture names.
  void addQuad(unsigned int textureId, const Float3 vertices[4], const Float2 texCoords[4]);
  void addTriangle(unsigned int textureId, const Float3 vertices[3], const Float2 texCoords[3]);
  // The texture's geometry, created empty when the texture is new.
  TextureGeometry& getGeometry(unsigned int textureId);

  // The textures in the order build() uploads and draw() draws them: those
  // that are not transparent in ascending order, then the transparent ones.
  std::vector<unsigned int> buildOrder() const;
  // Turns the geometry into draw calls; returns the number of buffers and the
  // total vertex count. Called once, after all geometry was added.
  std::pair<int, int> build();
  // One draw call per buffer, in order. Uses the colour, blending, depth and
  // texturing state the caller set, and changes none of it.
  void draw() const;

  std::map<unsigned int, TextureGeometry> geometries;  // ascending texture names
  std::vector<std::unique_ptr<VBOBuffer>> buffers;     // drawn in this order
  int vertexCount = 0;                                 // uploaded by the last build

 private:
  void addBuffer(unsigned int textureId, bool isQuads, const std::vector<Float3>& vertices,
                 const std::vector<Float2>& texCoords);
};
