#pragma once
// Makes and releases every sprite of the run. Each image file is loaded once
// and shared by all the sprites made from the same name; the image is freed
// when its last sprite is released.

#include <list>
#include <map>
#include <string>
#include <unordered_map>

#include "support/Sprite.h"

class Image;

struct LoadedImageInfo {
  int nbSpritesUsingThisImage = 0;  // at least 1 while the entry exists
  Image* image = nullptr;
};

class SpriteManager {
 public:
  // `defaultImageName` is the image of a sprite asked for without a name.
  explicit SpriteManager(const std::string& defaultImageName);
  // Every sprite must have been released: one left over is fatal.
  ~SpriteManager();
  SpriteManager(const SpriteManager&) = delete;
  SpriteManager& operator=(const SpriteManager&) = delete;

  // A new sprite showing the image file `filename` (the default image when
  // null) with a hot-spot alignment from 1 to 5. The first sprite of a name
  // loads the file; a file that cannot be loaded is fatal.
  Sprite* createSprite(const char* filename, int hotSpotAlignment);
  Sprite* createSprite(const std::string& filename, int hotSpotAlignment) {
    return createSprite(filename.c_str(), hotSpotAlignment);
  }
  // Releases a sprite and its share of its image. A sprite this manager did
  // not make, or has already released, is left alone.
  void removeSprite(Sprite* sprite);
  // True when `handle` is a sprite this manager made and has not released.
  bool isLiveSprite(const void* handle) const;

  std::string defaultImageName;
  std::map<std::string, LoadedImageInfo> loadedImages;  // by exact file name
  std::list<Sprite*> sprites;  // every live sprite, in creation order

 private:
  Image* shareImage(const std::string& filename);
  void releaseImage(Image* image);

  // Where each live sprite stands in `sprites`.
  std::unordered_map<const void*, std::list<Sprite*>::iterator> spritePlaces;
};
