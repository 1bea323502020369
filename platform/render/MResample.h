#pragma once
// Pictures brought to the output's exact scale once, when they are read, so
// that the frame copies them one texel a pixel: a Catmull-Rom filter keeps an
// edge within about a pixel where the renderer's own linear stretch of the
// nearest density would widen it (and costs nothing per frame).

#include "formats/MImage.h"

// width x height of straight-alpha 0xRRGGBBAA pixels resampled to w x h
// (premultiplied while filtered, so that clear texels lend no colour). The
// origin is kept as it was.
MImage ResampleImage(const MImage& image, int w, int h);

// The size, in texels, of designSize design pixels at scale texels each.
int ScaledSize(int designSize, double scale);

// A picture of density pictureDensity brought to scale texels a design pixel,
// in place; a scale equal to the density leaves it as it is.
void ResampleToScale(MImage& image, int pictureDensity, double scale);
