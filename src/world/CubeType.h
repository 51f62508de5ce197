#pragma once
// How the cubes of one kind look and behave: a texture per face, three
// texture-coordinate options and whether the cubes are collidable. Zones name
// their type by its index in the cube type list (CubeTypeManager).
//
// Textures are sprites of the window's sprite manager, which shares each
// image among all its users. The face textures are loaded on first use by a
// mesh and released again when no zone near the camera needs them; the
// shadow overlay is held for the type's whole life. A type made while there
// is no sprite manager (no window: the world tool, the fuzzer, the
// benchmarks) keeps its names only and never loads a texture.

#include <array>
#include <string>

class BinaryReader;
class BinaryWriter;
class Sprite;
class SpriteManager;

// Face order of everything stored per face in a cube type and in meshes.
enum CubeFace { FACE_TOP, FACE_BOTTOM, FACE_FRONT, FACE_BACK, FACE_LEFT, FACE_RIGHT };  // +y -y +z -z -x +x

typedef std::array<std::string, 6> CubeFaceNames;

// Directories of the face textures and their darker copies for faces that lie
// entirely in shadow, relative to the game folder.
extern const char* const cubeTexturesDirectory;          // "cube_textures/"
extern const char* const cubeShadowedTexturesDirectory;  // "cube_shadowed_textures/"

// The half-transparent overlay of partial shadows, relative to the game folder.
extern const char* const cubeShadowTextureName;  // "black_semi_transparent.png"

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
  // Releases every texture; the shadow overlay must be held by then.
  ~CubeType();
  CubeType(const CubeType&) = delete;
  CubeType& operator=(const CubeType&) = delete;

  void write(BinaryWriter& out) const;
  // Gives an existing type new faces and options (the editor's redefinition)
  // and loads the new pictures at once.
  void redefine(unsigned char noStretch, unsigned char noDivide, unsigned char noRandomOffset,
                const CubeFaceNames& names, bool collidable);
  // Loads the six face textures and their shadowed copies unless they are
  // loaded already.
  void loadTextures();
  // Releases the face textures, saying so on two lines; nothing when they
  // are not loaded.
  void freeTextures();
  // The textures to build a mesh of this type with, loaded on first use.
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

 private:
  void loadShadowTexture();
  void releaseShadowTexture();

  // Where the textures come from: the sprite manager of the window the type
  // was made in, or none.
  SpriteManager* spriteManager;
};
