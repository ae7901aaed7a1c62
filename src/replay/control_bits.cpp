#include "replay/control_bits.h"

#include <initializer_list>

// A flag added to the controls must get a bit here, or recordings would
// silently drop it.
static_assert(sizeof(PlayerControls) == 11 && sizeof(WeaponCycling) == 2 && sizeof(ControlState) == 27,
              "every control flag has its bit in packControls");

namespace {

// Player 1's flags, then player 2's, then escape and the weapon cycling.
struct FlagBits {
    uint32_t bits = 0;
    int next = 0;
};

void pack(FlagBits& f, bool flag)
{
    f.bits |= static_cast<uint32_t>(flag) << f.next;
    ++f.next;
}

void unpack(FlagBits& f, bool& flag)
{
    flag = (f.bits >> f.next) & 1u;
    ++f.next;
}

// The same walk over every flag for packing and unpacking.
template <typename Flags, typename Visit>
void visitFlags(Flags& c, Visit visit)
{
    for (auto& p : c.players)
        for (auto* flag : {&p.turnLeft, &p.turnRight, &p.thrust, &p.fire, &p.weaponModifier, &p.boostForward,
                           &p.boostBackward, &p.thrustPressed, &p.reload, &p.fineLeft, &p.fineRight})
            visit(*flag);
    visit(c.escape);
    for (auto& cycling : c.cycling) {
        visit(cycling.previousWeapon);
        visit(cycling.nextWeapon);
    }
}

} // namespace

uint32_t packControls(const ControlState& controls)
{
    FlagBits f;
    visitFlags(controls, [&f](bool flag) { pack(f, flag); });
    return f.bits;
}

ControlState unpackControls(uint32_t bits)
{
    ControlState controls;
    FlagBits f{bits, 0};
    visitFlags(controls, [&f](bool& flag) { unpack(f, flag); });
    return controls;
}
