#pragma once
// The demo game's landscape, made by code so that it can be made again.

#include "src/world/CubeTypeManager.h"
#include "src/world/WorldIndexator.h"

// Cube and region sizes the landscape is laid out for; game/world.xml holds
// the same values.
const float demoSizeOneCube = 1.0f;
const int demoCubesPerRegion = 16;

// Fills an empty type list and table with the landscape.
void buildDemoWorld(CubeTypeManager& types, WorldIndexator& table);
