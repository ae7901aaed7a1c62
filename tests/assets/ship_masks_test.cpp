// The ships' collision masks, made the way the game makes them (the rest
// picture turned through OpenGL into 16 headings), against the points where
// each weapon's shots appear. A shot is tested against both ships before it
// first moves, so a silhouette reaching over a launch point would make a
// ship hit itself with its own volley.
#include <cmath>
#include <string>

#include "content/ship_table.h"
#include "content/weapon_table.h"
#include "draw/catalogue_pictures.h"
#include "sim/collision_mask.h"
#include "support/gl_window.h"

namespace {

constexpr int ROTATION_FRAMES = 16;
constexpr int WEAPON_SHOT_DIRECTIONS = 9;
constexpr int RING_SHOT_DIRECTIONS = 77;

class ShipMasks : public GlWindow {
protected:
    static void SetUpTestSuite()
    {
        GlWindow::SetUpTestSuite();
        const char* failed = nullptr;
        ASSERT_TRUE(loadTextureCatalogue(&failed)) << (failed ? failed : "");
    }
    static void TearDownTestSuite()
    {
        freeTextureCatalogue();
        GlWindow::TearDownTestSuite();
    }
};

// Directions, relative to the muzzle's, in which a volley may leave.
std::vector<double> volleyOffsets(const FireState& fire)
{
    std::vector<double> offsets;
    if (fire.spreadMax >= TWO_PI - 1e-6) {
        for (int i = 0; i < RING_SHOT_DIRECTIONS; ++i)
            offsets.push_back(i * TWO_PI / (RING_SHOT_DIRECTIONS - 1));
        return offsets;
    }
    for (int i = 0; i < WEAPON_SHOT_DIRECTIONS; ++i)
        offsets.push_back(fire.spreadMax * (i / double(WEAPON_SHOT_DIRECTIONS - 1) - 0.5));
    return offsets;
}

bool shotHitsShip(const Vec2& shipWorld, const CollisionMask& mask, const Vec2& shotWorld, const WeaponType& weapon,
                  const CollisionMask blastMasks[BLAST_MASK_COUNT], double hitRadius)
{
    const Vec2 ship = worldToPixelVec(shipWorld), shot = worldToPixelVec(shotWorld);
    switch (weapon.hitTest) {
    case 0: return pointInMask(ship, mask, shot);
    case 1: return withinRange(shotWorld, shipWorld, hitRadius + weapon.shotRadius);
    default: return masksOverlap(ship, mask, shot, blastMasks[weapon.hitMaskIndex]);
    }
}

} // namespace

TEST_F(ShipMasks, NoShipIsHitByItsOwnShotsAsTheyAppear)
{
    AnimationFrames frames;
    ShipType ships[SHIP_COUNT];
    WeaponType weapons[WEAPON_COUNT];
    FireState fire[WEAPON_COUNT];
    CollisionMask blastMasks[BLAST_MASK_COUNT];
    buildShipTable(ships, frames);
    buildWeaponTable(weapons, fire, frames);
    buildBlastMasks(blastMasks);
    const RotatedPictureSource rotated = rotatedCataloguePictures();
    const double sector = TWO_PI / ROTATION_FRAMES;
    const Vec2 shipPositions[] = {{pixels(500.0), pixels(400.0)}, {pixels(611.37), pixels(305.81)}};
    int selfHits = 0;
    std::string firstSelfHits;

    for (int s = 0; s < SHIP_COUNT; ++s)
        for (int frame = 0; frame < ROTATION_FRAMES; ++frame) {
            RotatedPicture picture = rotated(frameTexture(frames, ships[s].shipSprite, 0), frame * sector);
            const CollisionMask mask = buildMask(picture.picture);
            picture.release();
            ASSERT_GT(mask.width, 0);
            // Every heading that uses this mask, up to half a sector either way.
            for (const double turn : {-0.49, -0.25, 0.0, 0.25, 0.49})
                for (int w = 0; w < WEAPON_COUNT; ++w) {
                    const PolarVec& muzzle = ships[s].muzzles[weapons[w].muzzleIndex];
                    const double distance = muzzle.length + weapons[w].shotRadius;
                    for (const double offset : volleyOffsets(fire[w]))
                        for (const Vec2& ship : shipPositions) {
                            const double angle = frame * sector + turn * sector + muzzle.angle + offset;
                            const Vec2 shot{ship.x + distance * std::cos(angle), ship.y + distance * std::sin(angle)};
                            if (!shotHitsShip(ship, mask, shot, weapons[w], blastMasks, ships[s].hitRadius))
                                continue;
                            if (++selfHits <= 5)
                                firstSelfHits += "ship " + std::to_string(s) + " by its " + weapons[w].name
                                                 + " at heading frame " + std::to_string(frame) + " turn "
                                                 + std::to_string(turn) + " direction " + std::to_string(offset) + "\n";
                        }
                }
        }
    EXPECT_EQ(selfHits, 0) << firstSelfHits;
}
