#include "CubeType.h"

#include <iostream>
#include <memory>

#include "support/BinaryReader.h"
#include "support/BinaryWriter.h"
#include "support/FatalReport.h"
#include "support/GLManager.h"
#include "support/SpriteManager.h"

const char* const cubeTexturesDirectory = "cube_textures/";
const char* const cubeShadowedTexturesDirectory = "cube_shadowed_textures/";
const char* const cubeShadowTextureName = "black_semi_transparent.png";

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
      collidable(parCollidable),
      spriteManager(GLManager::spriteManager) {
  loadShadowTexture();
}

CubeType::CubeType(BinaryReader& in) : spriteManager(GLManager::spriteManager) {
  for (int face = 0; face < 6; ++face) textureName[face] = readName(in, face);
  noStretch = in.readByte("noStretch option") != 0;
  noDivide = in.readByte("noDivide option") != 0;
  noRandomOffset = in.readByte("noRandomOffset option") != 0;
  collidable = in.readByte("collidable flag") != 0;
  // Last: a record that fails to read leaves nothing to release.
  loadShadowTexture();
}

CubeType::~CubeType() {
  if (spriteManager == nullptr) return;
  freeTextures();
  CHECK(textureShadow != NULL);
  releaseShadowTexture();
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
  releaseShadowTexture();
  freeTextures();
  textureName = names;
  noStretch = parNoStretch;
  noDivide = parNoDivide;
  noRandomOffset = parNoRandomOffset;
  collidable = parCollidable;
  loadShadowTexture();
  loadTextures();
}

void CubeType::loadTextures() {
  if (textureFace[0] != NULL || spriteManager == nullptr) return;
  for (int i = 0; i < 6; ++i) {
    CHECK(textureFace[i] == NULL);
    CHECK(textureFaceShadowed[i] == NULL);
    textureFace[i] = spriteManager->createSprite(cubeTexturesDirectory + textureName[i], HOTSPOT_TOP_LEFT);
    textureFaceShadowed[i] =
        spriteManager->createSprite(cubeShadowedTexturesDirectory + textureName[i], HOTSPOT_TOP_LEFT);
    textureIds.face[i] = textureFace[i]->getTexture();
    textureIds.faceShadowed[i] = textureFaceShadowed[i]->getTexture();
  }
}

void CubeType::freeTextures() {
  if (textureFace[0] == NULL) return;
  std::cout << "Free unused texture for CubeType ..." << std::endl;
  for (int i = 0; i < 6; ++i) {
    CHECK(textureFace[i] != NULL);
    CHECK(textureFaceShadowed[i] != NULL);
    spriteManager->removeSprite(textureFace[i]);
    spriteManager->removeSprite(textureFaceShadowed[i]);
    textureFace[i] = NULL;
    textureFaceShadowed[i] = NULL;
    textureIds.face[i] = 0;
    textureIds.faceShadowed[i] = 0;
  }
  std::cout << " ... free unused texture done" << std::endl;
}

const CubeTypeTextureIds& CubeType::texturesForMesh() {
  loadTextures();
  return textureIds;
}

void CubeType::loadShadowTexture() {
  if (spriteManager == nullptr) return;
  textureShadow = spriteManager->createSprite(cubeShadowTextureName, HOTSPOT_TOP_LEFT);
  textureIds.shadow = textureShadow->getTexture();
}

void CubeType::releaseShadowTexture() {
  if (spriteManager == nullptr) return;
  spriteManager->removeSprite(textureShadow);
  textureShadow = NULL;
  textureIds.shadow = 0;
}
