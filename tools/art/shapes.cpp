#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace {

double segmentDistance(Point p, Point a, Point b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

bool insidePolygon(const std::vector<Point>& poly, Point p)
{
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const Point& a = poly[i];
        const Point& b = poly[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

} // namespace

Shape circle(Point centre, double radius)
{
    return [=](double x, double y) { return radius - std::hypot(x - centre.x, y - centre.y); };
}

Shape ellipse(Point centre, double rx, double ry)
{
    return [=](double x, double y) {
        const double nx = (x - centre.x) / rx, ny = (y - centre.y) / ry;
        const double k = std::hypot(nx, ny);
        // Scaled by the smaller radius: close enough to a distance for shading.
        return (1.0 - k) * std::min(rx, ry);
    };
}

Shape polygon(std::vector<Point> corners)
{
    return [poly = std::move(corners)](double x, double y) {
        double d = 1e9;
        for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
            d = std::min(d, segmentDistance({x, y}, poly[j], poly[i]));
        return insidePolygon(poly, {x, y}) ? d : -d;
    };
}

Shape mirroredPolygon(const std::vector<Point>& upperHalf, double axisY)
{
    std::vector<Point> whole = upperHalf;
    for (auto it = upperHalf.rbegin(); it != upperHalf.rend(); ++it)
        whole.push_back({it->x, 2.0 * axisY - it->y});
    return polygon(whole);
}

Shape capsule(Point a, Point b, double radius)
{
    return [=](double x, double y) { return radius - segmentDistance({x, y}, a, b); };
}

Shape unite(Shape a, Shape b)
{
    return [=](double x, double y) { return std::max(a(x, y), b(x, y)); };
}

Shape subtract(Shape a, Shape b)
{
    return [=](double x, double y) { return std::min(a(x, y), -b(x, y)); };
}

Shape intersect(Shape a, Shape b)
{
    return [=](double x, double y) { return std::min(a(x, y), b(x, y)); };
}

Shape moved(Shape s, double dx, double dy)
{
    return [=](double x, double y) { return s(x - dx, y - dy); };
}

Shape scaled(Shape s, double k)
{
    return [=](double x, double y) { return s(x / k, y / k) * k; };
}

double coverage(const Shape& s, int x, int y)
{
    return std::clamp(0.5 + s(x + 0.5, y + 0.5), 0.0, 1.0);
}

void fill(Image& image, const Shape& s, const Shader& shade)
{
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const double d = s(x + 0.5, y + 0.5);
            const double a = std::clamp(0.5 + d, 0.0, 1.0);
            if (a > 0.0)
                paint(image, x, y, shade(x + 0.5, y + 0.5, d), a);
        }
}

void fillFlat(Image& image, const Shape& s, const Rgb& c)
{
    fill(image, s, [&](double, double, double) { return c; });
}

void fillBevel(Image& image, const Shape& s, const Rgb& base, double bevel)
{
    const auto height = [&](double x, double y) { return std::clamp(s(x, y) / bevel, 0.0, 1.0); };
    fill(image, s, [&](double x, double y, double) {
        const double gx = height(x + 0.5, y) - height(x - 0.5, y);
        const double gy = height(x, y + 0.5) - height(x, y - 0.5);
        // Slopes facing the upper left catch the light; flat tops stay mid.
        const double facing = (gx + gy) * 0.7071;
        const double light = std::clamp(0.82 + 0.9 * facing, 0.35, 1.35);
        return base * light;
    });
}
