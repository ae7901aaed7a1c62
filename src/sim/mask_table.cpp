#include "sim/mask_table.h"

#include <cassert>

void buildFixedMasks(MaskTable& masks, const GameMap maps[MAP_COUNT], const AnimationFrames& frames,
                     const PictureSource& pictures)
{
    buildBlastMasks(masks.blasts);
    for (int m = 0; m < MAP_COUNT; ++m) {
        for (int i = 0; i < MAX_PLANETS; ++i)
            masks.planets[m][i] = CollisionMask{};
        for (int i = 0; i < maps[m].planetCount; ++i) {
            const Planet& planet = maps[m].planets[i];
            const bool drawn = pictures && planet.touchable;
            masks.planets[m][i] = drawn ? buildMask(pictures(frameTexture(frames, planet.anim, 0))) : emptyMask();
        }
    }
}

void makeShipMasks(MaskTable& masks, int shipIndex, const ShipType& ship, const AnimationFrames& frames,
                   const RotatedPictureSource& rotated)
{
    assert(shipIndex >= 0 && shipIndex < SHIP_COUNT);
    if (masks.shipMade[shipIndex])
        return;
    const int texture = frameTexture(frames, ship.shipSprite, 0);
    for (int i = 0; i < ROTATION_MASKS; ++i) {
        CollisionMask& mask = masks.ships[shipIndex][i];
        if (!rotated) {
            mask = CollisionMask{};
            continue;
        }
        const double angle = static_cast<double>(i) / ROTATION_MASKS * TWO_PI;
        RotatedPicture turned = rotated(texture, angle);
        mask = buildMask(turned.picture);
        if (turned.release)
            turned.release();
    }
    masks.shipMade[shipIndex] = true;
}

const CollisionMask& shipMask(const MaskTable& masks, int shipIndex, int rotationFrame)
{
    assert(shipIndex >= 0 && shipIndex < SHIP_COUNT && masks.shipMade[shipIndex]);
    assert(rotationFrame >= 0 && rotationFrame < ROTATION_MASKS);
    return masks.ships[shipIndex][rotationFrame];
}
