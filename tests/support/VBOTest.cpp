#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

#include "support/VBO.h"
#include "tests/common/ChildProcess.h"

namespace {

const Float3 quad[4] = {Float3(0.f, 0.f, 0.f), Float3(1.f, 0.f, 0.f), Float3(1.f, 1.f, 0.f), Float3(0.f, 1.f, 0.f)};
const Float2 quadCoords[4] = {Float2(0.f, 0.f), Float2(1.f, 0.f), Float2(1.f, 1.f), Float2(0.f, 1.f)};

TEST(VBO, AddingFillsTheTexturesListsInOrder) {
  VBO vbo;
  Float3 second[4] = {quad[0] + Float3(0.f, 0.f, 5.f), quad[1], quad[2], quad[3]};
  vbo.addQuad(4, quad, quadCoords);
  vbo.addQuad(4, second, quadCoords);
  vbo.addTriangle(4, quad, quadCoords);
  const TextureGeometry& geometry = vbo.getGeometry(4);
  ASSERT_EQ(8u, geometry.verticesQuadVect.size());
  EXPECT_EQ(quad[0], geometry.verticesQuadVect[0]);
  EXPECT_EQ(second[0], geometry.verticesQuadVect[4]);
  EXPECT_EQ(quadCoords[2], geometry.texCoordQuadVect[6]);
  ASSERT_EQ(3u, geometry.verticesTriVect.size());
  EXPECT_EQ(quad[2], geometry.verticesTriVect[2]);
  EXPECT_FALSE(geometry.transparent);
  EXPECT_TRUE(vbo.getGeometry(9).verticesQuadVect.empty());  // created empty
}

TEST(VBO, BuildTakesOpaqueTexturesAscendingThenTransparentOnes) {
  VBO vbo;
  for (unsigned int texture : {7u, 5u, 3u}) vbo.addQuad(texture, quad, quadCoords);
  vbo.getGeometry(7).transparent = true;
  vbo.getGeometry(1).transparent = true;  // transparent and empty: no buffer
  EXPECT_EQ((std::vector<unsigned int>{3, 5, 1, 7}), vbo.buildOrder());

  std::pair<int, int> built = vbo.build();
  EXPECT_EQ(3, built.first);
  EXPECT_EQ(12, built.second);
  EXPECT_EQ(12, vbo.vertexCount);
  ASSERT_EQ(3u, vbo.buffers.size());
  EXPECT_EQ(3u, vbo.buffers[0]->textureId);
  EXPECT_EQ(5u, vbo.buffers[1]->textureId);
  EXPECT_EQ(7u, vbo.buffers[2]->textureId);
}

TEST(VBO, QuadsAndTrianglesOfATextureMakeOneBufferEachQuadsFirst) {
  VBO vbo;
  vbo.addTriangle(2, quad, quadCoords);
  vbo.addTriangle(6, quad, quadCoords);
  vbo.addQuad(6, quad, quadCoords);
  std::pair<int, int> built = vbo.build();
  EXPECT_EQ(3, built.first);
  EXPECT_EQ(3 + 3 + 4, built.second);
  EXPECT_FALSE(vbo.buffers[0]->isQuads);
  EXPECT_EQ(3, vbo.buffers[0]->vertexCount);
  EXPECT_TRUE(vbo.buffers[1]->isQuads);
  EXPECT_EQ(4, vbo.buffers[1]->vertexCount);
  EXPECT_FALSE(vbo.buffers[2]->isQuads);
  EXPECT_EQ(6u, vbo.buffers[2]->textureId);
}

TEST(VBO, AnEmptyMeshBuildsToNothing) {
  VBO vbo;
  EXPECT_EQ(std::make_pair(0, 0), vbo.build());
  EXPECT_TRUE(vbo.buffers.empty());
}

TEST(VBO, MismatchedCoordinatesEndWithTheReport) {
  ChildResult result = runInChild([] {
    VBO vbo;
    vbo.addQuad(1, quad, quadCoords);
    vbo.getGeometry(1).texCoordQuadVect.pop_back();
    vbo.build();
  });
  EXPECT_EQ(1, result.exitCode) << describe(result);
  EXPECT_NE(std::string::npos, result.err.find("Condition: verticesQuadVect.size() == texCoordQuadVect.size()"));
}

TEST(VBO, DrawingANullRecordEndsWithTheReport) {
  ChildResult result = runInChild([] {
    VBO vbo;
    vbo.buffers.emplace_back();
    vbo.draw();
  });
  EXPECT_EQ(1, result.exitCode) << describe(result);
  EXPECT_NE(std::string::npos, result.err.find("Condition: (*it) != NULL")) << result.err;
}

TEST(VBOExtension, OnlyAWholeBlankSeparatedWordCounts) {
  const char* const name = "GL_ARB_vertex_buffer_object";
  struct Case {
    const char* extensions;
    bool listed;
  } cases[] = {
      {"GL_ARB_vertex_buffer_object", true},
      {"GL_ARB_vertex_buffer_object GL_EXT_texture", true},
      {"GL_EXT_texture GL_ARB_vertex_buffer_object", true},
      {"GL_EXT_a GL_ARB_vertex_buffer_object GL_EXT_b", true},
      {"GL_EXT_a  GL_ARB_vertex_buffer_object ", true},
      {"GL_ARB_vertex_buffer_object_rgb32", false},                             // only starts with the name
      {"XGL_ARB_vertex_buffer_object", false},                                  // only ends with it
      {"GL_EXT_a_GL_ARB_vertex_buffer_object GL_EXT_b", false},
      {"GL_ARB_vertex_buffer_object_rgb32 GL_ARB_vertex_buffer_object", true},  // found after a false match
      {"GL_ARB_vertex_buffer_objectGL_ARB_vertex_buffer_object", false},
      {"GL_ARB_vertex_buffer_objec", false},
      {"", false},
      {nullptr, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.listed, VBO::isExtensionListed(c.extensions, name)) << (c.extensions ? c.extensions : "(null)");
}

TEST(VBOExtension, ANameWithABlankOrNoNameIsNeverListed) {
  EXPECT_FALSE(VBO::isExtensionListed("GL_ARB_vertex buffer", "GL_ARB_vertex buffer"));
  EXPECT_FALSE(VBO::isExtensionListed("GL_a GL_b", "GL_a GL_b"));
  EXPECT_FALSE(VBO::isExtensionListed("GL_a GL_b", ""));
}

// A stand-in for the driver's entry-point lookup: answers every name but
// `missingName`, and notes each name it was asked.
const char* missingName = nullptr;
std::vector<std::string> namesAsked;
void fakeEntryPoint() {}
void* fakeLookup(const char* name) {
  namesAsked.push_back(name);
  if (missingName != nullptr && std::string(name) == missingName) return nullptr;
  return reinterpret_cast<void*>(&fakeEntryPoint);
}

TEST(VBOExtension, SupportNeedsTheExtensionAndAllFourEntryPoints) {
  const std::string errorLine = "!!! ERROR !!! vertex buffer objects are not supported, nothing will be displayed.\n";
  const std::string allFour = " glGenBuffersARB glBindBufferARB glBufferDataARB glDeleteBuffersARB";
  struct Case {
    const char* extensions;
    const char* missing;
    bool supported;
    std::string asked;
  } cases[] = {
      {"GL_EXT_a GL_ARB_vertex_buffer_object GL_EXT_b", nullptr, true, allFour},
      {"GL_EXT_a GL_ARB_vertex_buffer_object_rgb32", nullptr, false, ""},
      {nullptr, nullptr, false, ""},  // no context: no extension string
      {"GL_ARB_vertex_buffer_object", "glBufferDataARB", false, " glGenBuffersARB glBindBufferARB glBufferDataARB"},
      {"GL_ARB_vertex_buffer_object", "glDeleteBuffersARB", false, allFour},
  };
  for (const Case& c : cases) {
    ChildResult result = runInChild([&c] {
      missingName = c.missing;
      VBO::initExtension(c.extensions, fakeLookup);
      std::cout << "supported " << VBO::vboSupported << " asked";
      for (const std::string& name : namesAsked) std::cout << " " << name;
    });
    std::string what = std::string(c.extensions ? c.extensions : "(null)") + ", missing " + (c.missing ? c.missing : "none");
    ASSERT_EQ(0, result.exitCode) << describe(result);
    std::string expected = (c.supported ? "" : errorLine) + "supported " + (c.supported ? "1" : "0") + " asked" + c.asked;
    EXPECT_EQ(expected, result.out) << what;
  }
}

}  // namespace
