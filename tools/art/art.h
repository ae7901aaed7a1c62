// The drawing functions behind every picture of the catalogue.
#pragma once
#include "image.h"

// Scenery: background, planets, stars, satellites.
Image drawBackground();
Image drawEarth();
Image drawMoon();
enum class StarKind { Golden, Blue };
Image drawStar(StarKind kind);
Image drawSatellite(int variant); // 0 or 1

// Ships: frames 0 and 1 at rest, 2 and 3 with the engine burning.
enum class ShipKind { Speeder, Wasp, Gunship, Scout };
Image drawShip(ShipKind kind, int frame);

// Shots, their blasts and impacts.
Image drawExplosion(int step);      // 8 bright flash .. 1 fading smoke
Image drawGreenExplosion(int step); // 3 flash .. 1 fading
Image drawBullet(int variant);      // 0 round slug, 1 tracer, 2 cannon slug
Image drawRocket(int frame);
Image drawLaserBolt();
Image drawBomb(int frame);

// Weapon pictures, big for the armory and small for the slot rows.
enum class WeaponIcon { Minigun, Corona, Sting, Doomsday, Flamer, Gun, Chaingun, Laser, Mine, Armageddon };
Image drawWeaponIcon(WeaponIcon icon, bool big);

// Panel, bar markers, frames and pointers.
Image drawPanel();
enum class MarkerColour { Green, Yellow, Red, Blue0, Blue1, Blue2, Blue3, Blue4 };
Image drawBarMarker(MarkerColour colour, bool small);
Image drawHullFrame();
Image drawShieldFrame();
Image drawAimMarker(bool red);
enum class Corner { TL, TR, BL, BR };
Image drawPointer(bool red, Corner corner);
Image drawPreviewFrame();
Image drawIconFrame();
Image drawWeaponMarker();
Image drawBlank();
