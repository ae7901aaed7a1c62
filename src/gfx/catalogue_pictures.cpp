#include "gfx/catalogue_pictures.h"

#include "gfx/sprite.h"

PictureSource cataloguePictures()
{
    return [](int textureIndex) { return pictureOf(catalogue[textureIndex].texture); };
}

RotatedPictureSource rotatedCataloguePictures()
{
    return [](int textureIndex, double angle) {
        Sprite copy;
        makeRotatedCopy(copy, catalogue[textureIndex], angle);
        Texture* texture = copy.texture;
        RotatedPicture rotated;
        if (texture)
            rotated.picture = pictureOf(texture);
        rotated.release = [texture]() { freeTexture(texture); };
        return rotated;
    };
}
