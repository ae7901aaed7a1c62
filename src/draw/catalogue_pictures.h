// Catalogue pictures handed to the simulation for its collision masks.
#pragma once
#include "sim/mask_table.h"

// The CPU pixels of a loaded catalogue entry.
PictureSource cataloguePictures();
// A catalogue sprite turned through the back buffer (makeRotatedCopy); the
// copy is freed when the simulation releases it.
RotatedPictureSource rotatedCataloguePictures();
