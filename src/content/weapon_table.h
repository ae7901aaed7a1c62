// The ten weapons: how their shots look, hit and move, and how they fire.
#pragma once
#include <cstdint>
#include "sim/animation.h"

constexpr int WEAPON_COUNT = 10;

struct WeaponType {
    const char* name = "";
    Animation flightAnim;
    Animation impactAnim;
    double shotRadius = 0.0; // world units
    int32_t muzzleIndex = 0; // 0..2, into the ship's muzzles
    double blastRadiusMin = 0.0, blastRadiusMax = 0.0; // world units
    bool orientByVelocity = false;
    double hullDamageMin = 0.0, hullDamageMax = 0.0;
    double shieldDamageMin = 0.0, shieldDamageMax = 0.0;
    double blastDamageMin = 0.0, blastDamageMax = 0.0; // at the blast centre
    int32_t hitTest = 0;      // 0 point in ship mask, 1 circle, 2 blast disc in ship mask
    int32_t hitMaskIndex = 0; // 0..4, read only for hitTest 2
    int32_t lifetimeMin = 0, lifetimeMax = 0; // ms
    int32_t orientByHeading = 0;
    double massMin = 1.0, massMax = 1.0;
    double shotThrustMin = 0.0, shotThrustMax = 0.0; // the shot's own engine force
    bool ignoresGravity = false;
    int32_t iconSmall = 0;    // catalogue index
    int32_t iconBig = 0;      // catalogue index
};

struct FireState {
    int32_t clipSize = 1;     // volleys per magazine
    int32_t ammoLeft = 1;     // <= 0 while reloading
    int32_t reloadLeft = 0;   // ms
    int32_t reloadTime = 0;   // ms
    double spreadMin = 0.0, spreadMax = 0.0; // radians, total width of a volley
    bool evenSpread = false;
    int32_t interval = 0;     // ms that must be exceeded between volleys
    int32_t countMin = 1, countMax = 1;
    double speedMin = 0.0, speedMax = 0.0; // world units per second
    int32_t sinceLastShot = 0; // ms
};

FireState makeFireState(int clipSize, int reloadTime, int interval, int countMin, int countMax,
                        double speedMin, double speedMax, double spreadMin, double spreadMax,
                        bool evenSpread);
void buildWeaponTable(WeaponType weapons[WEAPON_COUNT], FireState fireStates[WEAPON_COUNT], AnimationFrames& frames);
