#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "support/GLManager.h"
#include "support/Scene3D.h"
#include "tests/common/TestWindow.h"

namespace {

class View3D : public testing::Test {
 protected:
  void SetUp() override {
    resetTestWindow();
    scene = GLManager::scene3D;
  }
  void TearDown() override {
    scene->camera = Camera();
    for (Scene3D::Light& light : scene->lights) light = Scene3D::Light();
    scene->setLighting(false);
    glDisable(GL_FOG);
  }
  // Where the view saved by the last apply puts a world point.
  Float3 eyeCoordinates(const Float3& p) const {
    const float* m = scene->viewMatrix;
    return Float3(m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12], m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13],
                  m[2] * p[0] + m[6] * p[1] + m[10] * p[2] + m[14]);
  }
  static void expectNear(const Float3& expected, const Float3& actual, const std::string& what) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(expected[i], actual[i], 1e-3) << what << ", component " << i;
  }
  Scene3D* scene = nullptr;
};

TEST_F(View3D, ApplySetsTheDrawingStateAndProjection) {
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_TEXTURE_2D);
  scene->lighting = true;
  scene->apply();
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  GLint depthFunction = 0, cullFace = 0, modes[2] = {0, 0};
  glGetIntegerv(GL_DEPTH_FUNC, &depthFunction);
  glGetIntegerv(GL_CULL_FACE_MODE, &cullFace);
  glGetIntegerv(GL_POLYGON_MODE, modes);
  EXPECT_EQ(GL_LEQUAL, depthFunction);
  EXPECT_EQ(GL_BACK, cullFace);
  EXPECT_EQ(GL_FILL, modes[0]);
  EXPECT_EQ(GL_LINE, modes[1]);

  GLfloat projection[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  const float f = 1 / std::tan(55 * float(M_PI) / 180);  // fov 110
  EXPECT_NEAR(f / scene->aspect, projection[0], 1e-5);
  EXPECT_NEAR(f, projection[5], 1e-5);
  EXPECT_NEAR(2 * 10000 * 0.1 / (0.1 - 10000), projection[14], 1e-4) << "near 0.1, far 10000";
  GLint matrixMode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
  EXPECT_EQ(GL_MODELVIEW, matrixMode);

  scene->lighting = false;
  scene->apply();
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

TEST_F(View3D, ViewMatrixLooksAlongTheCameraFromItsPosition) {
  scene->camera.position = Float3(1.f, 2.f, 3.f);
  scene->camera.setRotation(Float3(0.f, 90.f, 0.f));  // looking along -x
  scene->apply();
  expectNear(Float3(0.f, 0.f, -5.f), eyeCoordinates(Float3(-4.f, 2.f, 3.f)), "5 units ahead");
  expectNear(Float3(0.f, 1.f, 0.f), eyeCoordinates(Float3(1.f, 3.f, 3.f)), "1 unit above");
  GLfloat current[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, current);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(current[i], scene->viewMatrix[i]) << i;
}

TEST_F(View3D, EnabledLightsGetTheirSettingsAndWorldPositions) {
  scene->camera.position = Float3(1.f, 2.f, 3.f);
  scene->camera.setRotation(Float3(0.f, 90.f, 0.f));
  Scene3D::Light& attenuated = scene->lights[2];
  attenuated.enabled = true;
  attenuated.attenuationDistance = 50;
  const float lightPosition[4] = {-4, 2, 3, 1};
  std::copy(lightPosition, lightPosition + 4, attenuated.position);
  scene->lights[3].enabled = true;
  scene->lights[3].attenuationDistance = 0;
  glLightf(GL_LIGHT4, GL_LINEAR_ATTENUATION, 7);  // a disabled slot is left alone
  scene->apply();

  GLfloat value[4];
  glGetLightfv(GL_LIGHT2, GL_POSITION, value);
  expectNear(Float3(0.f, 0.f, -5.f), Float3(value[0], value[1], value[2]), "light position in eye coordinates");
  glGetLightfv(GL_LIGHT2, GL_CONSTANT_ATTENUATION, value);
  EXPECT_FLOAT_EQ(1, value[0]);
  glGetLightfv(GL_LIGHT2, GL_LINEAR_ATTENUATION, value);
  EXPECT_FLOAT_EQ(0.02f, value[0]);
  glGetLightfv(GL_LIGHT2, GL_QUADRATIC_ATTENUATION, value);
  EXPECT_FLOAT_EQ(0.00005f, value[0]);
  glGetLightfv(GL_LIGHT2, GL_DIFFUSE, value);
  EXPECT_FLOAT_EQ(0.8f, value[0]);
  EXPECT_FLOAT_EQ(0.8f, value[3]);
  glGetLightfv(GL_LIGHT2, GL_SPECULAR, value);
  EXPECT_FLOAT_EQ(1, value[1]);
  glGetLightfv(GL_LIGHT2, GL_AMBIENT, value);
  EXPECT_FLOAT_EQ(0.5f, value[2]);
  EXPECT_FLOAT_EQ(1, value[3]);
  EXPECT_FALSE(glIsEnabled(GL_LIGHT2)) << "switching the light on is the caller's";

  glGetLightfv(GL_LIGHT3, GL_LINEAR_ATTENUATION, value);
  EXPECT_FLOAT_EQ(0, value[0]) << "no attenuation distance, no attenuation";
  glGetLightfv(GL_LIGHT3, GL_QUADRATIC_ATTENUATION, value);
  EXPECT_FLOAT_EQ(0, value[0]);
  glGetLightfv(GL_LIGHT4, GL_LINEAR_ATTENUATION, value);
  EXPECT_FLOAT_EQ(7, value[0]);
}

TEST_F(View3D, FogIsLinearFromThreeQuartersOfItsDistance) {
  scene->setFog(Color(255, 128, 0, 255), 200);
  EXPECT_EQ(200.f, scene->fogDistance);
  EXPECT_TRUE(glIsEnabled(GL_FOG));
  GLfloat value[4];
  glGetFloatv(GL_FOG_START, value);
  EXPECT_FLOAT_EQ(150, value[0]);
  glGetFloatv(GL_FOG_END, value);
  EXPECT_FLOAT_EQ(200, value[0]);
  glGetFloatv(GL_FOG_DENSITY, value);
  EXPECT_FLOAT_EQ(0.35f, value[0]);
  glGetFloatv(GL_FOG_COLOR, value);
  EXPECT_FLOAT_EQ(0.99609375f, value[0]) << "bytes are divided by 256";
  EXPECT_FLOAT_EQ(0.5f, value[1]);
  EXPECT_FLOAT_EQ(0, value[2]);
  GLint mode = 0, hint = 0;
  glGetIntegerv(GL_FOG_MODE, &mode);
  glGetIntegerv(GL_FOG_HINT, &hint);
  EXPECT_EQ(GL_LINEAR, mode);
  EXPECT_EQ(GL_NICEST, hint);
}

TEST_F(View3D, PlaceCameraLooksAtTheTargetFromItsDistance) {
  const Float3 target(5.f, 6.f, 7.f);
  scene->placeCamera(target, 10);
  expectNear(Float3(5.f, 6.f, 17.f), scene->camera.position, "level and straight: 10 along +z");
  const struct {
    float pitch, yaw;
  } angles[] = {{0, 90}, {30, 0}, {-45, 135}, {20, -170}, {89, 10}};
  for (const auto& a : angles) {
    scene->camera.setRotation(Float3(a.pitch, a.yaw, 0.f));
    scene->placeCamera(target, 10);
    std::string what = "pitch " + std::to_string(a.pitch) + ", yaw " + std::to_string(a.yaw);
    expectNear(Float3(0.f, 0.f, -10.f), eyeCoordinates(target), what);
  }
}

}  // namespace
