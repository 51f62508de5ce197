#include <gtest/gtest.h>

#include "support/GLManager.h"
#include "support/Scene3D.h"

namespace {

TEST(Scene3D, ConstructedWithTheDocumentedSettings) {
  Scene3D scene;
  EXPECT_EQ(110.f, scene.fov);
  EXPECT_FALSE(scene.lighting);
  EXPECT_EQ(Int2(0, 0), scene.lastMousePosition);
  EXPECT_EQ(1.3333334f, scene.aspect);
  EXPECT_EQ(10000.f, scene.farPlane);
  EXPECT_EQ(150.f, scene.fogDistance);
  for (float value : scene.viewMatrix) EXPECT_EQ(0.f, value);
  for (const Scene3D::Light& light : scene.lights) {
    EXPECT_FALSE(light.enabled);
    EXPECT_EQ(1.f, light.attenuationDistance);
    EXPECT_EQ(0.f, light.position[0]);
    EXPECT_EQ(1.f, light.position[3]);
  }
  EXPECT_NE(nullptr, scene.quadric);
}

TEST(Scene3D, MouseLookTurnsByThePointerMovementOnlyWhenAsked) {
  Scene3D scene;
  scene.mouseLook(Int2(100, 100), false);
  EXPECT_EQ(0.f, scene.camera.yaw);
  EXPECT_EQ(Int2(100, 100), scene.lastMousePosition);
  // Moving right turns right (yaw down), moving up looks up (pitch up).
  scene.mouseLook(Int2(110, 95), true);
  EXPECT_EQ(5.f, scene.camera.pitch);
  EXPECT_EQ(-10.f, scene.camera.yaw);
  EXPECT_EQ(Int2(110, 95), scene.lastMousePosition);
  scene.mouseLook(Int2(0, 0), false);
  EXPECT_EQ(-10.f, scene.camera.yaw);
  EXPECT_EQ(Int2(0, 0), scene.lastMousePosition);
}

class TurnCameraTowards : public testing::Test {
 protected:
  void TearDown() override { GLManager::periodDuration = 0; }
  // Starts at (pitch, yaw), turns once with a frame of `period` microseconds.
  static Camera turned(float pitch, float yaw, int64_t period, float towardsPitch, float towardsYaw) {
    Scene3D scene;
    scene.camera.setRotation(Float3(pitch, yaw, 0.f));
    GLManager::periodDuration = period;
    scene.turnCameraTowards(towardsPitch, towardsYaw, 0);
    return scene.camera;
  }
};

TEST_F(TurnCameraTowards, ClosesTheGapByTheFrameShareOfATenthOfASecond) {
  const struct {
    float pitch, yaw;
    int64_t period;
    float towardsPitch, towardsYaw, expectedPitch, expectedYaw;
  } cases[] = {
      {0, 0, 50000, 20, 40, 10, 20},         // half way
      {0, 0, 25000, 20, 40, 5, 10},          // a quarter
      {0, 0, 100000, 20, 40, 20, 40},        // a tenth of a second: there at once
      {0, 0, 200000, 20, 40, 20, 40},        // longer frames too, no overshoot
      {10, 30, 0, -30, 90, 10, 30},          // no time, no turn
      {0, 170, 50000, 0, -170, 0, -180},     // the short way: through 180, not back through 0
      {0, -170, 50000, 0, 170, 0, 180},      // and the other way round
      {0, 170, 100000, 0, -170, 0, -170},    // arrives at the angle asked for
      {0, 890, 50000, 0, 0, 0, 85},          // unwrapped angles (890 is 170) still take the short way
  };
  for (const auto& c : cases) {
    Camera camera = turned(c.pitch, c.yaw, c.period, c.towardsPitch, c.towardsYaw);
    EXPECT_NEAR(c.expectedPitch, camera.pitch, 1e-3) << "from " << c.pitch << ", " << c.yaw << " in " << c.period;
    EXPECT_NEAR(c.expectedYaw, camera.yaw, 1e-3) << "from " << c.pitch << ", " << c.yaw << " in " << c.period;
  }
}

}  // namespace
