// The piece: a driving minor-key duel in five sections, written out here
// and played into a looping stereo mix.
#pragma once
#include "mix.h"

// Frames of the whole piece; a whole number of bars.
size_t pieceFrames();
Mix performPiece();
