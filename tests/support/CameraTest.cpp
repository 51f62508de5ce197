#include <gtest/gtest.h>

#include "support/Camera.h"
#include "tests/common/ChildProcess.h"

namespace {

void expectNear(const Float3& expected, const Float3& actual, const char* what) {
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(expected[i], actual[i], 1e-5) << what << ", component " << i;
}

// Two quaternions describe the same rotation when they are equal or opposite.
void expectSameRotation(const Quaternion& a, const Quaternion& b, const char* what) {
  float sign = (a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w) < 0 ? -1.f : 1.f;
  EXPECT_NEAR(a.x, sign * b.x, 1e-5) << what;
  EXPECT_NEAR(a.y, sign * b.y, 1e-5) << what;
  EXPECT_NEAR(a.z, sign * b.z, 1e-5) << what;
  EXPECT_NEAR(a.w, sign * b.w, 1e-5) << what;
}

TEST(Camera, StartsAtTheOriginLookingAlongMinusZ) {
  Camera camera;
  EXPECT_EQ(Float3(0.f, 0.f, 0.f), camera.position);
  EXPECT_EQ(0.f, camera.pitch);
  EXPECT_EQ(0.f, camera.yaw);
  expectNear(Float3(0.f, 0.f, -1.f), camera.viewDirection(), "view");
}

TEST(Camera, YawTurnsAboutTheWorldVerticalAndPitchAboutTheCameraSide) {
  Camera camera;
  camera.rotateYaw(90);
  EXPECT_EQ(90.f, camera.yaw);
  expectNear(Float3(-1.f, 0.f, 0.f), camera.viewDirection(), "yaw 90 looks along -x");
  camera.rotatePitch(90);
  expectNear(Float3(0.f, 1.f, 0.f), camera.viewDirection(), "then pitch 90 looks up");
  // Pitch 45 after a yaw of 90 tilts about the camera's own side (world z):
  // the horizon does not tilt, the camera's right stays level.
  Camera tilted;
  tilted.rotateYaw(90);
  tilted.rotatePitch(45);
  expectNear(Float3(-0.70710677f, 0.70710677f, 0.f), tilted.viewDirection(), "yaw 90, pitch 45");
  expectNear(Float3(0.f, 0.f, -1.f), tilted.orientation.rotate(Float3(1.f, 0.f, 0.f)), "right stays level");
}

TEST(Camera, OrientationDependsOnlyOnTheAngleSums) {
  Camera stepwise;
  stepwise.rotatePitch(20);
  stepwise.rotateYaw(45);
  stepwise.rotatePitch(-5);
  stepwise.rotateYaw(10);
  Camera direct;
  direct.setRotation(Float3(15.f, 55.f, 0.f));
  EXPECT_FLOAT_EQ(15, stepwise.pitch);
  EXPECT_FLOAT_EQ(55, stepwise.yaw);
  expectSameRotation(direct.orientation, stepwise.orientation, "any order of calls");
}

TEST(Camera, SetPitchAndSetYawReplaceOnlyTheirAngle) {
  Camera camera;
  camera.rotatePitch(10);
  camera.rotatePitch(10);
  camera.setPitch(30);
  Camera fresh;
  fresh.rotatePitch(30);
  EXPECT_EQ(30.f, camera.pitch);
  expectSameRotation(fresh.orientation, camera.orientation, "setPitch(30) after two pitches of 10");

  camera.rotateYaw(70);
  camera.setYaw(-40);
  EXPECT_EQ(30.f, camera.pitch);
  EXPECT_FLOAT_EQ(-40, camera.yaw);
  Camera expected;
  expected.setRotation(Float3(30.f, -40.f, 0.f));
  expectSameRotation(expected.orientation, camera.orientation, "setYaw keeps the pitch");
}

TEST(Camera, AnglesAreNotWrapped) {
  Camera camera;
  for (int i = 0; i < 10; ++i) camera.rotateYaw(90);
  EXPECT_EQ(900.f, camera.yaw);
  Camera half;
  half.rotateYaw(180);
  expectSameRotation(half.orientation, camera.orientation, "900 is 180");
}

TEST(Camera, SetRotationRefusesARoll) {
  Camera camera;
  camera.rotatePitch(12);
  camera.setRotation(Float3(-20.f, 33.f, 0.f));
  EXPECT_EQ(-20.f, camera.pitch);
  EXPECT_EQ(33.f, camera.yaw);
  ChildResult rolled = runInChild([] {
    Camera c;
    c.setRotation(Float3(0.f, 0.f, 0.5f));
  });
  EXPECT_EQ(1, rolled.exitCode) << describe(rolled);
  EXPECT_NE(std::string::npos, rolled.err.find("\nCondition: rot.z() == 0.f\n")) << rolled.err;
}

}  // namespace
