#include "draw/catalogue_pictures.h"

#include "gfx/sprite.h"

// The CPU copy of a texture as the masks read it.
static Picture pictureOf(const Texture* t)
{
    return Picture{static_cast<int>(t->width), static_cast<int>(t->height), t->textureWidth, t->pixels};
}

PictureSource cataloguePictures()
{
    return [](int textureIndex) { return pictureOf(catalogue[textureIndex].texture); };
}

RotatedPictureSource rotatedCataloguePictures()
{
    return [](int textureIndex, double angle) {
        Sprite copy;
        makeRotatedCopy(copy, catalogue[textureIndex], degreesOf(angle));
        Texture* texture = copy.texture;
        RotatedPicture rotated;
        if (texture)
            rotated.picture = pictureOf(texture);
        rotated.release = [texture]() { freeTexture(texture); };
        return rotated;
    };
}
