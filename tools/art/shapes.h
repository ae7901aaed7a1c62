// Signed distance shapes in a picture's own coordinates (pixels, y down):
// positive inside, negative outside, in pixels from the edge.
#pragma once
#include <functional>
#include <vector>
#include "image.h"

struct Point {
    double x = 0.0, y = 0.0;
};

using Shape = std::function<double(double x, double y)>;

Shape circle(Point centre, double radius);
Shape ellipse(Point centre, double rx, double ry);
Shape polygon(std::vector<Point> corners);
// A polygon and its mirror image across the horizontal line y = axisY.
Shape mirroredPolygon(const std::vector<Point>& upperHalf, double axisY);
Shape capsule(Point a, Point b, double radius);
Shape unite(Shape a, Shape b);
Shape subtract(Shape a, Shape b);
Shape intersect(Shape a, Shape b);
// The same shape moved by (dx, dy).
Shape moved(Shape s, double dx, double dy);
// The same shape scaled by k about the origin.
Shape scaled(Shape s, double k);

// How much of a pixel a shape covers, judged from its distance at the centre.
double coverage(const Shape& s, int x, int y);

// Fills a shape: each covered pixel gets shade(x, y, distance from edge).
using Shader = std::function<Rgb(double x, double y, double depth)>;
void fill(Image& image, const Shape& s, const Shader& shade);
void fillFlat(Image& image, const Shape& s, const Rgb& c);
// Fills a shape with a bevelled, lit look: light comes from the upper left.
void fillBevel(Image& image, const Shape& s, const Rgb& base, double bevel);
