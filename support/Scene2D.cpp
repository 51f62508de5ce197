#include "Scene2D.h"

#include <GL/glu.h>

#include "support/FatalReport.h"

void Scene2D::apply() {
  CHECK(windowSize.x() != 0 && windowSize.y() != 0);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluOrtho2D(0, virtualSize.x(), virtualSize.y(), 0);
  scaleX = float(virtualSize.x()) / float(windowSize.x());
  scaleY = float(virtualSize.y()) / float(windowSize.y());
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void Scene2D::beginDrawing() {
  apply();
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_FRONT);
}

Int2 Scene2D::toViewCoordinates(int x, int y) const {
  if (followWindow) return Int2(x, y);
  return Int2(int(float(x) * scaleX), int(float(y) * scaleY));
}
