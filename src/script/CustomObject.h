#pragma once
// One script object placed in the world, stored by value in its region. What
// it does is the business of its object type's script functions.

#include "support/BasicVector.h"

// Object type numbers a world file may hold: 0 to this minus 1. The type
// states grow to the highest number in use, so a damaged file must not name
// an absurd one.
constexpr int maxCustomObjectTypes = 65536;

struct CustomObject {
  CustomObject() = default;
  CustomObject(const Float3& objectPosition, int objectType) : position(objectPosition), type(objectType) {}

  Float3 position;            // world position
  int type = 0;               // the object type number, not negative
  float localVariable1 = 0;   // free for the script; never saved
  float localVariable2 = 0;
};
