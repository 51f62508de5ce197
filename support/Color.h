#pragma once
// A colour as four bytes: red, green, blue and alpha, 0 to 255 each.

struct Color {
  unsigned char r = 0, g = 0, b = 0, a = 0;

  Color() = default;
  Color(unsigned char red, unsigned char green, unsigned char blue, unsigned char alpha)
      : r(red), g(green), b(blue), a(alpha) {}
  bool operator==(const Color& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
  bool operator!=(const Color& o) const { return !(*this == o); }
};
