#include "Sprite.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "support/DrawingRoutines.h"
#include "support/FatalReport.h"
#include "support/Image.h"

Sprite::Sprite(const std::vector<Image*>& images, int hotSpotAlignment) : images(images) {
  CHECK(images.size() >= 1);
  const int w = images[0]->width, h = images[0]->height;
  switch (hotSpotAlignment) {
    case HOTSPOT_TOP_LEFT: hotSpot = Int2(0, 0); break;
    case HOTSPOT_CENTRE: hotSpot = Int2(w / 2, h / 2); break;
    case HOTSPOT_BOTTOM_RIGHT: hotSpot = Int2(w, h); break;
    case HOTSPOT_MIDDLE_LEFT: hotSpot = Int2(0, h / 2); break;
    case HOTSPOT_MIDDLE_RIGHT: hotSpot = Int2(w, h / 2); break;
    default: FATAL_ERROR("Sprite::Sprite : unknown value of hotSpotAlignment");
  }
}

void Sprite::draw() {
  CHECK(images[currentImage]!= NULL);
  const Int2 size = getSize();
  const Int2 topLeft = position - hotSpot;
  const Int2 points[4] = {topLeft + size, topLeft + Int2(0, size.y()), topLeft, topLeft + Int2(size.x(), 0)};
  for (int i = 0; i < 4; ++i) corners[i] = polarCorner(position, points[i]);
  drawQuad(corners, getTexture(), false, false);
}

void Sprite::fitInto(float width, float height) {
  const Image* image = images[currentImage];
  const float scale = std::min(height / float(image->height), width / float(image->width));
  scaleX = scale;
  scaleY = scale;
}

Int2 Sprite::getSize() const {
  const Image* image = images[currentImage];
  return Int2(int(float(image->width) * scaleX), int(float(image->height) * scaleY));
}

unsigned int Sprite::getTexture() const { return images[currentImage]->textureId; }

namespace {

// 1 / sqrt(x) in single precision: the bit-pattern estimate and one Newton step.
float reciprocalSquareRoot(float x) {
  int32_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  bits = 0x5F3759DF - (bits >> 1);
  float r;
  std::memcpy(&r, &bits, sizeof r);
  return r * (1.5f - 0.5f * x * r * r);
}

}  // namespace

// Pictures are drawn through length and direction rather than the plain
// point: the estimated length is off by up to about 0.2 %, so the corners of
// a large picture may land a pixel further out. Halves round away from zero.
Int2 Sprite::polarCorner(const Int2& position, const Int2& point) {
  const float dx = float(point.x() - position.x()), dy = float(point.y() - position.y());
  const float length = 1.0f / reciprocalSquareRoot(dx * dx + dy * dy);
  const float direction = std::atan2(dy, dx);
  return position + Int2(int(std::lround(length * std::cos(direction))), int(std::lround(length * std::sin(direction))));
}
