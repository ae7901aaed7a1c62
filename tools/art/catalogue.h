// Every picture file of the game with the function that draws it.
#pragma once
#include <functional>
#include <string>
#include <vector>
#include "image.h"

struct CatalogueEntry {
    std::string file; // relative to the img folder
    std::function<Image()> draw;
};

std::vector<CatalogueEntry> pictureCatalogue();
