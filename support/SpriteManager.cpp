#include "SpriteManager.h"

#include <iterator>

#include "support/FatalReport.h"
#include "support/Image.h"

SpriteManager::SpriteManager(const std::string& defaultImageName) : defaultImageName(defaultImageName) {}

SpriteManager::~SpriteManager() { CHECK(sprites.size() == 0); }

Sprite* SpriteManager::createSprite(const char* filename, int hotSpotAlignment) {
  Image* image = shareImage(filename != nullptr ? filename : defaultImageName);
  Sprite* sprite = new Sprite({image}, hotSpotAlignment);
  sprites.push_back(sprite);
  spritePlaces[sprite] = std::prev(sprites.end());
  return sprite;
}

Image* SpriteManager::shareImage(const std::string& filename) {
  auto found = loadedImages.find(filename);
  if (found != loadedImages.end()) {
    found->second.nbSpritesUsingThisImage++;
    return found->second.image;
  }
  Image* image = new Image(filename, false);
  loadedImages[filename] = LoadedImageInfo{1, image};
  return image;
}

void SpriteManager::removeSprite(Sprite* sprite) {
  auto place = spritePlaces.find(sprite);
  if (place == spritePlaces.end()) return;
  sprites.erase(place->second);
  spritePlaces.erase(place);
  for (Image* image : sprite->images) releaseImage(image);
  delete sprite;
}

// An image is filed under the name it was loaded from; one that no entry
// holds is not the manager's and is skipped.
void SpriteManager::releaseImage(Image* image) {
  auto entry = loadedImages.find(image->filename);
  if (entry == loadedImages.end() || entry->second.image != image) return;
  LoadedImageInfo* lii = &entry->second;
  CHECK_MSG(lii->nbSpritesUsingThisImage > 0, "SpriteManager::removeSprite : the sprite has no image ?");
  if (--lii->nbSpritesUsingThisImage > 0) return;
  delete lii->image;
  loadedImages.erase(entry);
}

bool SpriteManager::isLiveSprite(const void* handle) const { return spritePlaces.count(handle) != 0; }
