// Every collision mask a match can use, made outside the match: the blast
// discs, each map's planets and the sixteen turned masks of each ship type.
// Ship masks are drawn through OpenGL, which is slow, so a ship type gets its
// masks when it is first needed, and a table can instead be taken from bytes
// made on another machine.
#pragma once
#include <functional>
#include "content/map_table.h"
#include "content/ship_table.h"
#include "sim/collision_mask.h"
#include "sim/player.h"

struct MaskTable {
    CollisionMask blasts[BLAST_MASK_COUNT];
    CollisionMask planets[MAP_COUNT][MAX_PLANETS];
    CollisionMask ships[SHIP_COUNT][ROTATION_MASKS];
    bool shipMade[SHIP_COUNT] = {};
};

// The picture of a catalogue texture, for planet masks.
using PictureSource = std::function<Picture(int textureIndex)>;
// A picture of a ship sprite turned by an angle (radians). The game draws it
// through OpenGL; release() is called once the mask is built.
struct RotatedPicture {
    Picture picture;
    std::function<void()> release;
};
using RotatedPictureSource = std::function<RotatedPicture(int textureIndex, double angle)>;

// The blast discs and every map's planet masks. Without a picture source
// (headless tools and tests) no planet can be touched.
void buildFixedMasks(MaskTable& masks, const GameMap maps[MAP_COUNT], const AnimationFrames& frames,
                     const PictureSource& pictures);
// The sixteen turned masks of one ship type from frame 0 of its sprite, unless
// it has them. Without a source (headless tests) they stay empty, so the ship
// touches nothing by pixels.
void makeShipMasks(MaskTable& masks, int shipIndex, const ShipType& ship, const AnimationFrames& frames,
                   const RotatedPictureSource& rotated);
// A ship type's masks must have been made.
const CollisionMask& shipMask(const MaskTable& masks, int shipIndex, int rotationFrame);
