#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "support/GLManager.h"
#include "support/VBO.h"
#include "tests/common/TestWindow.h"

namespace {

const Color black(0, 0, 0, 255), red(255, 0, 0, 255), green(0, 255, 0, 255), blue(0, 0, 255, 255),
    white(255, 255, 255, 255);
const Color halfWhite(255, 255, 255, 128);

std::string rgb(const Color& c) {
  return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

// The colour at (x, y) of a view with its origin at the bottom left, one unit a pixel.
void expectColourAt(int x, int y, const Color& expected, const std::string& what) {
  Color actual = readPixel(x, 599 - y);
  bool near = std::abs(actual.r - expected.r) <= 3 && std::abs(actual.g - expected.g) <= 3 &&
              std::abs(actual.b - expected.b) <= 3;
  EXPECT_TRUE(near) << what << " at (" << x << ", " << y << "): expected " << rgb(expected) << ", got "
                    << rgb(actual);
}

// Buffer names still known to the driver.
int liveBuffers(const std::vector<unsigned int>& ids) {
  int live = 0;
  for (unsigned int id : ids) live += glIsBuffer(id) ? 1 : 0;
  return live;
}

std::vector<unsigned int> bufferNames(const VBO& vbo) {
  std::vector<unsigned int> ids;
  for (const auto& buffer : vbo.buffers) {
    ids.push_back(buffer->vertexBufferId);
    ids.push_back(buffer->texCoordBufferId);
  }
  return ids;
}

// A view where one unit is one pixel, origin at the bottom left, drawn over
// black, textured, without depth test, blending as the window sets it.
class VertexBuffers : public testing::Test {
 protected:
  void SetUp() override {
    resetTestWindow();
    beginFlatPicture(0, 800, 0, 600, -1, 1);
    while (glGetError() != GL_NO_ERROR) {
    }
  }
  void TearDown() override {
    for (unsigned int texture : textures) glDeleteTextures(1, &texture);
    endFlatPicture();
  }
  unsigned int texture(int width, int height, const std::vector<Color>& texels) {
    textures.push_back(makeTexture(width, height, texels));
    return textures.back();
  }
  // Counter-clockwise on screen: front faces.
  static void addRect(VBO& vbo, unsigned int textureId, float x0, float y0, float x1, float y1) {
    const Float3 corners[4] = {Float3(x0, y0, 0.f), Float3(x1, y0, 0.f), Float3(x1, y1, 0.f), Float3(x0, y1, 0.f)};
    const Float2 coords[4] = {Float2(0.f, 0.f), Float2(1.f, 0.f), Float2(1.f, 1.f), Float2(0.f, 1.f)};
    vbo.addQuad(textureId, corners, coords);
  }
  // The right angle at (x, y), the legs `size` long along +x and +y.
  static void addCornerTriangle(VBO& vbo, unsigned int textureId, float x, float y, float size) {
    const Float3 corners[3] = {Float3(x, y, 0.f), Float3(x + size, y, 0.f), Float3(x, y + size, 0.f)};
    const Float2 coords[3] = {Float2(0.f, 0.f), Float2(1.f, 0.f), Float2(0.f, 1.f)};
    vbo.addTriangle(textureId, corners, coords);
  }
  static void expectNoGLError() {
    GLenum error = glGetError();
    EXPECT_EQ(GLenum(GL_NO_ERROR), error) << "GL error " << error;
  }
  std::vector<unsigned int> textures;
};

TEST_F(VertexBuffers, WindowCreationFindsTheBufferFunctions) {
  EXPECT_TRUE(VBO::vboSupported);
}

TEST_F(VertexBuffers, EachPieceIsDrawnWhereItBelongsWithItsTextureTransparentLast) {
  ASSERT_TRUE(VBO::vboSupported);
  // Made first, so its name is the lower one: only the transparent flag can put it last.
  unsigned int overlay = texture(1, 1, {halfWhite});
  unsigned int quadrants = texture(2, 2, {red, green, blue, white});  // first row at t = 0
  ASSERT_LT(overlay, quadrants);

  VBO vbo;
  addRect(vbo, quadrants, 100, 100, 300, 300);
  addCornerTriangle(vbo, quadrants, 400, 100, 200);
  addRect(vbo, overlay, 120, 120, 180, 280);       // over the red and blue quadrants
  addCornerTriangle(vbo, overlay, 450, 150, 200);  // partly over the triangle, partly over nothing
  vbo.getGeometry(overlay).transparent = true;
  EXPECT_EQ(std::make_pair(4, 14), vbo.build());
  vbo.draw();
  expectNoGLError();

  // Sample points keep clear of the edges and of the diagonals that split the quads.
  expectColourAt(190, 130, red, "quad, texel (0, 0)");
  expectColourAt(270, 140, green, "quad, texel (1, 0)");
  expectColourAt(190, 260, blue, "quad, texel (0, 1)");
  expectColourAt(280, 250, white, "quad, texel (1, 1)");
  expectColourAt(420, 115, red, "triangle near its right angle");
  expectColourAt(570, 110, green, "triangle near its +x corner");
  expectColourAt(410, 270, blue, "triangle near its +y corner");
  expectColourAt(560, 280, black, "beyond the triangle's long side");
  expectColourAt(350, 200, black, "between the pieces");
  expectColourAt(170, 135, Color(255, 128, 128, 255), "transparent quad over red");
  expectColourAt(125, 250, Color(128, 128, 255, 255), "transparent quad over blue");
  expectColourAt(460, 175, Color(255, 128, 128, 255), "transparent triangle over the red triangle");
  expectColourAt(620, 160, Color(128, 128, 128, 255), "transparent triangle over nothing");
}

TEST_F(VertexBuffers, DrawingLeavesTheCallersStateAndNoBufferBound) {
  unsigned int plain = texture(1, 1, {white});
  VBO vbo;
  addRect(vbo, plain, 10, 10, 20, 20);
  vbo.build();
  glColor4f(1, 0.5f, 0.25f, 1);
  vbo.draw();
  expectNoGLError();
  EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
  GLint bound = -1;
  glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
  EXPECT_EQ(0, bound) << "a later draw from client memory would read the buffer";
  float colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(0.5f, colour[1]);
  EXPECT_FLOAT_EQ(0.25f, colour[2]);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  expectColourAt(15, 15, Color(255, 128, 64, 255), "the caller's colour tints the texture");
}

TEST_F(VertexBuffers, OneQuadUploadsFortyEightBytesOfPositionsAndThirtyTwoOfCoordinates) {
  VBO vbo;
  const Float3 corners[4] = {Float3(1.f, 2.f, 3.f), Float3(4.f, 5.f, 6.f), Float3(7.f, 8.f, 9.f),
                             Float3(10.f, 11.f, 12.f)};
  const Float2 coords[4] = {Float2(0.125f, 0.25f), Float2(0.5f, 0.75f), Float2(1.f, 2.f), Float2(-1.f, -2.f)};
  vbo.addQuad(4, corners, coords);
  EXPECT_EQ(std::make_pair(1, 4), vbo.build());
  ASSERT_EQ(1u, vbo.buffers.size());
  const VBOBuffer& buffer = *vbo.buffers[0];
  EXPECT_EQ(4, buffer.vertexCount);
  EXPECT_EQ(4u, buffer.textureId);
  EXPECT_TRUE(buffer.isQuads);

  struct Expected {
    unsigned int id;
    std::vector<float> data;
  } expected[] = {{buffer.vertexBufferId, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
                  {buffer.texCoordBufferId, {0.125f, 0.25f, 0.5f, 0.75f, 1, 2, -1, -2}}};
  for (const Expected& e : expected) {
    ASSERT_NE(0u, e.id);
    glBindBuffer(GL_ARRAY_BUFFER, e.id);
    GLint size = 0, usage = 0;
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_USAGE, &usage);
    EXPECT_EQ(GLint(e.data.size() * sizeof(float)), size) << "buffer " << e.id;
    EXPECT_EQ(GL_STATIC_DRAW, usage);
    std::vector<float> stored(e.data.size(), -99.f);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(stored.size() * sizeof(float)), stored.data());
    EXPECT_EQ(e.data, stored) << "buffer " << e.id;
  }
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  expectNoGLError();
}

TEST_F(VertexBuffers, DestroyingAMeshDeletesEveryBuffer) {
  std::unique_ptr<VBO> vbo(new VBO);
  addRect(*vbo, 4, 0, 0, 1, 1);
  addCornerTriangle(*vbo, 4, 0, 0, 1);
  addRect(*vbo, 9, 0, 0, 1, 1);
  EXPECT_EQ(3, vbo->build().first);
  std::vector<unsigned int> ids = bufferNames(*vbo);
  EXPECT_EQ(6, liveBuffers(ids));
  VBO other;  // a mesh left alive keeps its buffers
  addRect(other, 4, 0, 0, 1, 1);
  other.build();
  vbo.reset();
  EXPECT_EQ(0, liveBuffers(ids));
  EXPECT_EQ(2, liveBuffers(bufferNames(other)));
  expectNoGLError();
}

// Puts the driver's own answer back, whatever the test did.
struct DriverSupportRestored {
  ~DriverSupportRestored() { VBO::initExtension(); }
};

TEST_F(VertexBuffers, WithoutTheExtensionBuildsRecordsOnlyAndDrawsNothing) {
  DriverSupportRestored restore;
  unsigned int plain = texture(1, 1, {white});
  VBO::initExtension("GL_EXT_texture GL_ARB_vertex_buffer_object_rgb32", platform::glEntryPoint);
  ASSERT_FALSE(VBO::vboSupported);
  VBO vbo;
  addRect(vbo, plain, 100, 100, 300, 300);
  addCornerTriangle(vbo, plain, 400, 100, 200);
  EXPECT_EQ(std::make_pair(2, 7), vbo.build());
  for (unsigned int id : bufferNames(vbo)) EXPECT_EQ(0u, id);
  EXPECT_EQ(3, vbo.buffers[1]->vertexCount);
  vbo.draw();
  expectNoGLError();
  EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
  expectColourAt(200, 200, black, "quad without support");
  expectColourAt(420, 120, black, "triangle without support");

  // Records built without buffers stay empty once support is back.
  VBO::initExtension();
  ASSERT_TRUE(VBO::vboSupported);
  vbo.draw();
  expectNoGLError();
  expectColourAt(200, 200, black, "quad built without support");
}

}  // namespace
