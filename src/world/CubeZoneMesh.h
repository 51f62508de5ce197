#pragma once
// Turns a cube zone into textured quads (and shadow triangles) in its
// region's mesh: faces that touch a collidable zone of the same region are
// left out, faces in full shadow get the darker texture, and partial shadows
// are laid over the faces as half-transparent triangles.

#include <vector>

class CubeZone;
class VBO;

// Whether meshes get their shadow triangles; true at start. Whoever changes
// it drops every region's mesh so that all are rebuilt.
extern bool drawShadows;

// Adds `zone` to `vbo`. `regionZones` are all zones of the zone's region
// (`zone` among them), against which faces are hidden; `sizeOneCube` is the
// edge of one cube in world units.
void addZoneToMesh(const CubeZone& zone, VBO& vbo, const std::vector<CubeZone>& regionZones, float sizeOneCube);
