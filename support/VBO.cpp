#include "VBO.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>
#include <iostream>
#include <type_traits>

#include "platform/Platform.h"
#include "support/FatalReport.h"

// The buffers hold the vectors' memory as it is: packed floats.
static_assert(sizeof(Float3) == 3 * sizeof(float) && sizeof(Float2) == 2 * sizeof(float) &&
                  std::is_standard_layout<Float3>::value && std::is_standard_layout<Float2>::value,
              "vertex data is uploaded straight from the vectors");

bool VBO::vboSupported = false;

namespace {

// The buffer entry points of the driver, set together once all four are found.
struct BufferEntryPoints {
  PFNGLGENBUFFERSARBPROC genBuffers = nullptr;
  PFNGLBINDBUFFERARBPROC bindBuffer = nullptr;
  PFNGLBUFFERDATAARBPROC bufferData = nullptr;
  PFNGLDELETEBUFFERSARBPROC deleteBuffers = nullptr;
};
BufferEntryPoints gl;

template <typename Function>
bool lookUp(Function& entry, const char* name, void* (*lookup)(const char*)) {
  entry = reinterpret_cast<Function>(lookup(name));
  return entry != nullptr;
}

// A new buffer object filled with `bytes` of static data; 0 when none could be made.
unsigned int uploadStatic(const void* data, size_t bytes) {
  GLuint id = 0;
  gl.genBuffers(1, &id);
  if (id == 0) return 0;
  gl.bindBuffer(GL_ARRAY_BUFFER_ARB, id);
  gl.bufferData(GL_ARRAY_BUFFER_ARB, static_cast<GLsizeiptrARB>(bytes), data, GL_STATIC_DRAW_ARB);
  return id;
}

}  // namespace

void VBO::initExtension() {
  initExtension(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), platform::glEntryPoint);
}

void VBO::initExtension(const char* extensions, void* (*lookup)(const char* name)) {
  vboSupported = isExtensionListed(extensions, "GL_ARB_vertex_buffer_object");
  if (vboSupported) {
    BufferEntryPoints found;
    vboSupported = lookUp(found.genBuffers, "glGenBuffersARB", lookup) &&
                   lookUp(found.bindBuffer, "glBindBufferARB", lookup) &&
                   lookUp(found.bufferData, "glBufferDataARB", lookup) &&
                   lookUp(found.deleteBuffers, "glDeleteBuffersARB", lookup);
    if (vboSupported) gl = found;
  }
  if (!vboSupported)
    std::cout << "!!! ERROR !!! vertex buffer objects are not supported, nothing will be displayed." << std::endl;
}

bool VBO::isExtensionListed(const char* extensions, const char* name) {
  // An empty name would match everywhere without ever moving on.
  if (extensions == nullptr || name == nullptr || name[0] == '\0' || std::strchr(name, ' ') != nullptr) return false;
  const size_t length = std::strlen(name);
  for (const char* found = std::strstr(extensions, name); found != nullptr; found = std::strstr(found + length, name)) {
    bool startsWord = found == extensions || found[-1] == ' ';
    bool endsWord = found[length] == ' ' || found[length] == '\0';
    if (startsWord && endsWord) return true;
  }
  return false;
}

VBO::~VBO() {
  // Names are never 0 once made, and only made after the entry points were found.
  for (const std::unique_ptr<VBOBuffer>& buffer : buffers) {
    if (buffer == nullptr) continue;
    GLuint ids[2] = {buffer->vertexBufferId, buffer->texCoordBufferId};
    if (ids[0] != 0 || ids[1] != 0) gl.deleteBuffers(2, ids);
  }
}

void VBO::addQuad(unsigned int textureId, const Float3 vertices[4], const Float2 texCoords[4]) {
  TextureGeometry& geometry = geometries[textureId];
  geometry.verticesQuadVect.insert(geometry.verticesQuadVect.end(), vertices, vertices + 4);
  geometry.texCoordQuadVect.insert(geometry.texCoordQuadVect.end(), texCoords, texCoords + 4);
}

void VBO::addTriangle(unsigned int textureId, const Float3 vertices[3], const Float2 texCoords[3]) {
  TextureGeometry& geometry = geometries[textureId];
  geometry.verticesTriVect.insert(geometry.verticesTriVect.end(), vertices, vertices + 3);
  geometry.texCoordTriVect.insert(geometry.texCoordTriVect.end(), texCoords, texCoords + 3);
}

TextureGeometry& VBO::getGeometry(unsigned int textureId) { return geometries[textureId]; }

std::vector<unsigned int> VBO::buildOrder() const {
  std::vector<unsigned int> order;
  order.reserve(geometries.size());
  for (bool transparentPass : {false, true})
    for (const auto& entry : geometries)
      if (entry.second.transparent == transparentPass) order.push_back(entry.first);
  return order;
}

std::pair<int, int> VBO::build() {
  int total = 0;
  for (unsigned int textureId : buildOrder()) {
    const TextureGeometry& geometry = geometries[textureId];
    const std::vector<Float3>& verticesQuadVect = geometry.verticesQuadVect;
    const std::vector<Float2>& texCoordQuadVect = geometry.texCoordQuadVect;
    CHECK(verticesQuadVect.size() == texCoordQuadVect.size());
    if (!verticesQuadVect.empty()) addBuffer(textureId, true, verticesQuadVect, texCoordQuadVect);
    const std::vector<Float3>& verticesTriVect = geometry.verticesTriVect;
    const std::vector<Float2>& texCoordTriVect = geometry.texCoordTriVect;
    CHECK(verticesTriVect.size() == texCoordTriVect.size());
    if (!verticesTriVect.empty()) addBuffer(textureId, false, verticesTriVect, texCoordTriVect);
    total += static_cast<int>(verticesQuadVect.size() + verticesTriVect.size());
  }
  vertexCount = total;
  return {static_cast<int>(buffers.size()), total};
}

void VBO::addBuffer(unsigned int textureId, bool isQuads, const std::vector<Float3>& vertices,
                    const std::vector<Float2>& texCoords) {
  std::unique_ptr<VBOBuffer> buffer(new VBOBuffer);
  buffer->vertexCount = static_cast<int>(vertices.size());
  buffer->textureId = textureId;
  buffer->isQuads = isQuads;
  if (vboSupported) {
    buffer->vertexBufferId = uploadStatic(vertices.data(), vertices.size() * sizeof(Float3));
    buffer->texCoordBufferId = uploadStatic(texCoords.data(), texCoords.size() * sizeof(Float2));
    gl.bindBuffer(GL_ARRAY_BUFFER_ARB, 0);
  }
  buffers.push_back(std::move(buffer));
}

void VBO::draw() const {
  bool arraysEnabled = false;
  for (auto it = buffers.begin(); it != buffers.end(); ++it) {
    CHECK((*it) != NULL);
    const VBOBuffer& buffer = **it;
    // A record without buffers (no support when it was built) draws nothing.
    if (!vboSupported || buffer.vertexBufferId == 0 || buffer.texCoordBufferId == 0) continue;
    if (!arraysEnabled) {
      glEnableClientState(GL_VERTEX_ARRAY);
      glEnableClientState(GL_TEXTURE_COORD_ARRAY);
      arraysEnabled = true;
    }
    gl.bindBuffer(GL_ARRAY_BUFFER_ARB, buffer.vertexBufferId);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    gl.bindBuffer(GL_ARRAY_BUFFER_ARB, buffer.texCoordBufferId);
    glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
    glBindTexture(GL_TEXTURE_2D, buffer.textureId);
    glDrawArrays(buffer.isQuads ? GL_QUADS : GL_TRIANGLES, 0, buffer.vertexCount);
  }
  if (!arraysEnabled) return;
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  // Whatever draws from client memory next must not find a buffer bound.
  gl.bindBuffer(GL_ARRAY_BUFFER_ARB, 0);
}
