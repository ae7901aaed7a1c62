#include "sim/match_controls.h"

FlightCommands flightCommandsFrom(const PlayerControls& c)
{
    constexpr double FULL_TURN_INPUT = 1.0;
    constexpr double FINE_TURN_INPUT = 0.25;
    FlightCommands commands;
    if (c.turnLeft)
        commands.turnInput -= FULL_TURN_INPUT;
    if (c.turnRight)
        commands.turnInput += FULL_TURN_INPUT;
    if (c.fineLeft)
        commands.turnInput -= FINE_TURN_INPUT;
    if (c.fineRight)
        commands.turnInput += FINE_TURN_INPUT;
    commands.thrustInput = c.thrust;
    if (c.boostForward)
        commands.boostRequest = 1;
    // Backward wins when both are held.
    if (c.boostBackward)
        commands.boostRequest = -1;
    return commands;
}
