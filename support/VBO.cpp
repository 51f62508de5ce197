#include "VBO.h"

#include "support/FatalReport.h"

bool VBO::vboSupported = false;

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
  // With vertex buffer support the positions (vertexCount x 12 bytes) and
  // coordinates (vertexCount x 8 bytes) are uploaded here as static data.
  (void)texCoords;
  buffers.push_back(std::move(buffer));
}
