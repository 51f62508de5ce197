#include "DrawingRoutines.h"

#include <GL/freeglut.h>

void drawTexturedRect(unsigned int texture, int x, int y, float s0, float t0, float s1, float t1, int width,
                      int height) {
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glMatrixMode(GL_MODELVIEW);
  glBegin(GL_QUADS);
  glTexCoord2f(s1, t1);
  glVertex2i(x + width, y + height);
  glTexCoord2f(s0, t1);
  glVertex2i(x, y + height);
  glTexCoord2f(s0, t0);
  glVertex2i(x, y);
  glTexCoord2f(s1, t0);
  glVertex2i(x + width, y);
  glEnd();
}

void drawQuad(const Int2 corners[4], unsigned int texture, bool flipX, bool flipY) {
  static const float texCoords[4][2] = {{1, 1}, {0, 1}, {0, 0}, {1, 0}};
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glMatrixMode(GL_MODELVIEW);
  glBegin(GL_QUADS);
  for (int i = 0; i < 4; ++i) {
    float s = texCoords[i][0], t = texCoords[i][1];
    glTexCoord2f(flipX ? 1 - s : s, flipY ? 1 - t : t);
    glVertex2i(corners[i].x(), corners[i].y());
  }
  glEnd();
}

void drawRect(const Int2& a, const Int2& b, bool filled) {
  glDisable(GL_TEXTURE_2D);
  glMatrixMode(GL_MODELVIEW);
  glBegin(filled ? GL_QUADS : GL_LINE_LOOP);
  glVertex2i(b.x(), b.y());
  glVertex2i(a.x(), b.y());
  glVertex2i(a.x(), a.y());
  glVertex2i(b.x(), a.y());
  glEnd();
}

void drawBitmapText(const std::string& text, int x, int y) {
  glDisable(GL_TEXTURE_2D);
  glRasterPos2i(x, y);
  for (unsigned char c : text) glutBitmapCharacter(GLUT_BITMAP_8_BY_13, c);
}

namespace {

// One face of the box: its normal, the axis that insideOut mirrors, and its
// four corners as signs of the half sizes with texture coordinates given as
// indices into (0, u0, u1, u2).
struct BoxFace {
  float normal[3];
  int mirroredAxis;
  struct {
    float sign[3];
    int s, t;
  } corners[4];
};

const BoxFace boxFaces[6] = {
    {{0, 1, 0}, 1, {{{-1, 1, -1}, 1, 3}, {{-1, 1, 1}, 1, 0}, {{1, 1, 1}, 0, 0}, {{1, 1, -1}, 0, 3}}},        // top
    {{0, -1, 0}, 1, {{{-1, -1, -1}, 1, 3}, {{1, -1, -1}, 0, 3}, {{1, -1, 1}, 0, 0}, {{-1, -1, 1}, 1, 0}}},  // bottom
    {{0, 0, 1}, 2, {{{-1, -1, 1}, 0, 2}, {{1, -1, 1}, 1, 2}, {{1, 1, 1}, 1, 0}, {{-1, 1, 1}, 0, 0}}},       // front
    {{0, 0, -1}, 2, {{{-1, 1, -1}, 1, 0}, {{1, 1, -1}, 0, 0}, {{1, -1, -1}, 0, 2}, {{-1, -1, -1}, 1, 2}}},  // back
    {{-1, 0, 0}, 0, {{{-1, -1, -1}, 0, 2}, {{-1, -1, 1}, 3, 2}, {{-1, 1, 1}, 3, 0}, {{-1, 1, -1}, 0, 0}}},  // left
    {{1, 0, 0}, 0, {{{1, -1, -1}, 3, 2}, {{1, 1, -1}, 3, 0}, {{1, 1, 1}, 0, 0}, {{1, -1, 1}, 0, 2}}},       // right
};

void sendBoxFace(const BoxFace& face, const Float3& half, const float texCoordValues[4], bool insideOut) {
  glNormal3fv(face.normal);
  for (const auto& corner : face.corners) {
    float p[3];
    for (int axis = 0; axis < 3; ++axis) {
      float sign = corner.sign[axis];
      if (insideOut && axis == face.mirroredAxis) sign = -sign;
      p[axis] = sign * half[axis];
    }
    glTexCoord2f(texCoordValues[corner.s], texCoordValues[corner.t]);
    glVertex3fv(p);
  }
}

}  // namespace

void drawBox(const unsigned int* textures, const Float3& size, const Float3& texCoords, bool insideOut) {
  const Float3 half = size / 2.f;
  const float texCoordValues[4] = {0, texCoords[0], texCoords[1], texCoords[2]};
  if (textures == nullptr) {
    glDisable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glDisable(GL_CULL_FACE);
    glBegin(GL_QUADS);
    for (const BoxFace& face : boxFaces) sendBoxFace(face, half, texCoordValues, insideOut);
    glEnd();
    glEnable(GL_TEXTURE_2D);
    glPolygonMode(GL_BACK, GL_LINE);
    glPolygonMode(GL_FRONT, GL_FILL);
    glEnable(GL_CULL_FACE);
    return;
  }
  // A texture can only be bound outside a batch: reopen it when the texture changes.
  glBindTexture(GL_TEXTURE_2D, textures[0]);
  glBegin(GL_QUADS);
  for (int i = 0; i < 6; ++i) {
    if (i > 0 && textures[i] != textures[i - 1]) {
      glEnd();
      glBindTexture(GL_TEXTURE_2D, textures[i]);
      glBegin(GL_QUADS);
    }
    sendBoxFace(boxFaces[i], half, texCoordValues, insideOut);
  }
  glEnd();
}

static void bindUnlessKept(int texture) {
  if (texture != -1) glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture));
}

void drawHorizontalQuad(const Float2& size, int texture, const Float2& texCoords, bool downward) {
  bindUnlessKept(texture);
  const float w = size.x() / 2, d = size.y() / 2, u = texCoords.x(), v = texCoords.y();
  glBegin(GL_QUADS);
  if (!downward) {
    glNormal3f(0, 1, 0);
    glTexCoord2f(u, v), glVertex3f(-w, 0, -d);
    glTexCoord2f(u, 0), glVertex3f(-w, 0, d);
    glTexCoord2f(0, 0), glVertex3f(w, 0, d);
    glTexCoord2f(0, v), glVertex3f(w, 0, -d);
  } else {
    glNormal3f(0, -1, 0);
    glTexCoord2f(u, v), glVertex3f(-w, 0, -d);
    glTexCoord2f(0, v), glVertex3f(w, 0, -d);
    glTexCoord2f(0, 0), glVertex3f(w, 0, d);
    glTexCoord2f(u, 0), glVertex3f(-w, 0, d);
  }
  glEnd();
}

void drawCornerQuad(int texture, const Float3 corners[4], const Float2& texCoords) {
  bindUnlessKept(texture);
  const float u = texCoords.x(), v = texCoords.y();
  const float texCoordsPerCorner[4][2] = {{u, v}, {u, 0}, {0, 0}, {0, v}};
  glBegin(GL_QUADS);
  glNormal3f(0, -1, 0);
  for (int i = 0; i < 4; ++i) {
    glTexCoord2fv(texCoordsPerCorner[i]);
    glVertex3f(corners[i].x(), corners[i].y(), corners[i].z());
  }
  glEnd();
}

void rotateXYZ(float x, float y, float z) {
  glRotatef(x, 1, 0, 0);
  glRotatef(y, 0, 1, 0);
  glRotatef(z, 0, 0, 1);
}
