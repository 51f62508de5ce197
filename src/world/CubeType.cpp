#include "CubeType.h"

#include <memory>

#include "support/BinaryReader.h"
#include "support/BinaryWriter.h"

const char* const cubeTexturesDirectory = "cube_textures/";
const char* const cubeShadowedTexturesDirectory = "cube_shadowed_textures/";

namespace {

const char* const faceNameLengths[6] = {"top face name length",  "bottom face name length",
                                        "front face name length", "back face name length",
                                        "left face name length",  "right face name length"};
const char* const faceNames[6] = {"top face name",  "bottom face name", "front face name",
                                  "back face name", "left face name",   "right face name"};

// A name is stored as its length and its bytes; like a C string it ends at
// its first zero byte.
std::string readName(BinaryReader& in, int face) {
  int32_t length = in.readCount(faceNameLengths[face], 1);
  std::unique_ptr<char[]> bytes(new char[length + 1]);
  in.readBytes(bytes.get(), static_cast<uint64_t>(length), faceNames[face]);
  bytes[length] = '\0';
  return std::string(bytes.get());
}

}  // namespace

CubeType::CubeType(unsigned char parNoStretch, unsigned char parNoDivide, unsigned char parNoRandomOffset,
                   const CubeFaceNames& names, bool parCollidable)
    : textureName(names),
      noStretch(parNoStretch),
      noDivide(parNoDivide),
      noRandomOffset(parNoRandomOffset),
      collidable(parCollidable) {
  // Next step: textureShadow is loaded here ("black_semi_transparent.png").
}

CubeType::CubeType(BinaryReader& in) {
  for (int face = 0; face < 6; ++face) textureName[face] = readName(in, face);
  noStretch = in.readByte("noStretch option") != 0;
  noDivide = in.readByte("noDivide option") != 0;
  noRandomOffset = in.readByte("noRandomOffset option") != 0;
  collidable = in.readByte("collidable flag") != 0;
}

void CubeType::write(BinaryWriter& out) const {
  for (const std::string& name : textureName) {
    out.writeInt32(static_cast<int32_t>(name.size()));
    out.writeBytes(name);
  }
  out.writeByte(noStretch);
  out.writeByte(noDivide);
  out.writeByte(noRandomOffset);
  out.writeByte(collidable ? 1 : 0);
}

void CubeType::redefine(unsigned char parNoStretch, unsigned char parNoDivide, unsigned char parNoRandomOffset,
                        const CubeFaceNames& names, bool parCollidable) {
  // Next step: release textureShadow and the face textures here.
  textureName = names;
  noStretch = parNoStretch;
  noDivide = parNoDivide;
  noRandomOffset = parNoRandomOffset;
  collidable = parCollidable;
  // Next step: load textureShadow again, then the face textures.
}

const CubeTypeTextureIds& CubeType::texturesForMesh() {
  // Next step: the face textures are loaded here on first use, filling textureIds.
  return textureIds;
}
