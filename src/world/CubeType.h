#pragma once
// How the cubes of one kind look and behave: a texture per face, three
// texture-coordinate options and whether the cubes are collidable. Zones name
// their type by its index in the cube type list (CubeTypeManager).

#include <array>
#include <string>

class BinaryReader;
class BinaryWriter;
class Sprite;

// Face order of everything stored per face in a cube type and in meshes.
enum CubeFace { FACE_TOP, FACE_BOTTOM, FACE_FRONT, FACE_BACK, FACE_LEFT, FACE_RIGHT };  // +y -y +z -z -x +x

typedef std::array<std::string, 6> CubeFaceNames;

// Directories of the face textures and their darker copies for faces that lie
// entirely in shadow, relative to the game folder.
extern const char* const cubeTexturesDirectory;          // "cube_textures/"
extern const char* const cubeShadowedTexturesDirectory;  // "cube_shadowed_textures/"

// The OpenGL texture names a mesh is built with; 0 while not loaded.
struct CubeTypeTextureIds {
  unsigned int face[6] = {};
  unsigned int faceShadowed[6] = {};
  unsigned int shadow = 0;  // the half-transparent overlay of partial shadows
};

class CubeType {
 public:
  // The three options are stored inverted: 0 means the option is on.
  CubeType(unsigned char noStretch, unsigned char noDivide, unsigned char noRandomOffset,
           const CubeFaceNames& names, bool collidable);
  // Reads the type's record of a world file.
  explicit CubeType(BinaryReader& in);
  CubeType(const CubeType&) = delete;
  CubeType& operator=(const CubeType&) = delete;

  void write(BinaryWriter& out) const;
  // Gives an existing type new faces and options (the editor's redefinition).
  void redefine(unsigned char noStretch, unsigned char noDivide, unsigned char noRandomOffset,
                const CubeFaceNames& names, bool collidable);
  // The textures to build a mesh of this type with.
  const CubeTypeTextureIds& texturesForMesh();

  bool used = false;       // looked up since the last markAllUnused
  bool previewed = false;  // shown by the editor's preview; keeps its textures
  CubeFaceNames textureName;
  Sprite* textureFace[6] = {};          // all six loaded or all null
  Sprite* textureFaceShadowed[6] = {};  // loaded and released with textureFace
  unsigned char noStretch;       // 0: the texture spans the whole zone once; 1: once per cube
  unsigned char noDivide;        // 0: texture coordinates times 0.04; 1: as they are
  unsigned char noRandomOffset;  // 0: a random texture offset per zone; 1: none
  Sprite* textureShadow = nullptr;
  bool collidable;
  CubeTypeTextureIds textureIds;  // the texture names of the sprites above
};
