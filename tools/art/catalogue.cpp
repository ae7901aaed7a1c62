#include "catalogue.h"

#include "art.h"

namespace {

void addShip(std::vector<CatalogueEntry>& list, const std::string& name, ShipKind kind)
{
    for (int frame = 0; frame < 4; ++frame)
        list.push_back({name + std::to_string(frame) + ".bmp", [=] { return drawShip(kind, frame); }});
}

void addPointers(std::vector<CatalogueEntry>& list, const std::string& colour, bool red)
{
    const std::pair<const char*, Corner> corners[] = {
        {"TL", Corner::TL}, {"TR", Corner::TR}, {"BL", Corner::BL}, {"BR", Corner::BR}};
    for (const auto& [suffix, corner] : corners)
        list.push_back({colour + suffix + ".bmp", [=] { return drawPointer(red, corner); }});
}

void addWeapon(std::vector<CatalogueEntry>& list, const std::string& name, WeaponIcon icon)
{
    list.push_back({name + " big.bmp", [=] { return drawWeaponIcon(icon, true); }});
    list.push_back({name + " small.bmp", [=] { return drawWeaponIcon(icon, false); }});
}

void addMarker(std::vector<CatalogueEntry>& list, const std::string& name, MarkerColour colour, bool small)
{
    list.push_back({"marker " + name + (small ? " small.bmp" : ".bmp"), [=] { return drawBarMarker(colour, small); }});
}

} // namespace

std::vector<CatalogueEntry> pictureCatalogue()
{
    std::vector<CatalogueEntry> list;
    list.push_back({"bg.bmp", drawBackground});
    list.push_back({"earth.bmp", drawEarth});
    list.push_back({"moon.bmp", drawMoon});
    list.push_back({"satelite1.bmp", [] { return drawSatellite(0); }});
    list.push_back({"satelite2.bmp", [] { return drawSatellite(1); }});
    addShip(list, "speeder", ShipKind::Speeder);
    addShip(list, "wasp", ShipKind::Wasp);
    addShip(list, "gunship", ShipKind::Gunship);
    addShip(list, "scout", ShipKind::Scout);
    addPointers(list, "blue", false);
    addPointers(list, "red", true);
    for (int step = 1; step <= 8; ++step)
        list.push_back({"explosion" + std::to_string(step) + ".bmp", [=] { return drawExplosion(step); }});
    list.push_back({"bullet0.bmp", [] { return drawBullet(0); }});
    list.push_back({"bullet1.bmp", [] { return drawBullet(1); }});
    list.push_back({"small rocket0.bmp", [] { return drawRocket(0); }});
    list.push_back({"small rocket1.bmp", [] { return drawRocket(1); }});
    const std::pair<const char*, MarkerColour> bars[] = {
        {"green", MarkerColour::Green}, {"yellow", MarkerColour::Yellow}, {"red", MarkerColour::Red},
        {"blue0", MarkerColour::Blue0}, {"blue1", MarkerColour::Blue1}, {"blue2", MarkerColour::Blue2},
        {"blue3", MarkerColour::Blue3}, {"blue4", MarkerColour::Blue4}};
    for (const auto& [name, colour] : bars)
        addMarker(list, name, colour, false);
    list.push_back({"marker weapon.bmp", drawWeaponMarker});
    list.push_back({"gui.bmp", drawPanel});
    addWeapon(list, "minigun", WeaponIcon::Minigun);
    addWeapon(list, "corona", WeaponIcon::Corona);
    addWeapon(list, "sting", WeaponIcon::Sting);
    addWeapon(list, "doomsday", WeaponIcon::Doomsday);
    addWeapon(list, "flamer", WeaponIcon::Flamer);
    addWeapon(list, "gun", WeaponIcon::Gun);
    list.push_back({"bullet2.bmp", [] { return drawBullet(2); }});
    list.push_back({"laser green.bmp", drawLaserBolt});
    addWeapon(list, "chaingun", WeaponIcon::Chaingun);
    list.push_back({"aim blue.bmp", [] { return drawAimMarker(false); }});
    list.push_back({"aim red.bmp", [] { return drawAimMarker(true); }});
    for (int i = 0; i < 3; ++i)
        addMarker(list, bars[i].first, bars[i].second, true);
    for (int i = 3; i < 8; ++i)
        addMarker(list, bars[i].first, bars[i].second, true);
    list.push_back({"marker weapon.bmp", drawWeaponMarker});
    list.push_back({"hull marker.bmp", drawHullFrame});
    list.push_back({"shield marker.bmp", drawShieldFrame});
    for (int step = 1; step <= 3; ++step)
        list.push_back({"green explosion" + std::to_string(step) + ".bmp", [=] { return drawGreenExplosion(step); }});
    addWeapon(list, "laser green", WeaponIcon::Laser);
    addWeapon(list, "mine", WeaponIcon::Mine);
    list.push_back({"frame.bmp", drawPreviewFrame});
    list.push_back({"frame small.bmp", drawIconFrame});
    list.push_back({"blank.bmp", drawBlank});
    list.push_back({"armageddon1.bmp", [] { return drawBomb(0); }});
    list.push_back({"armageddon2.bmp", [] { return drawBomb(1); }});
    addWeapon(list, "armageddon", WeaponIcon::Armageddon);
    list.push_back({"star1.bmp", [] { return drawStar(StarKind::Golden); }});
    list.push_back({"star2.bmp", [] { return drawStar(StarKind::Blue); }});
    return list;
}
