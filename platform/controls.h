// The controls of the game window, held as plain data: what each one looks like and where it
// stands. The game changes these values; a backend shows them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorbix {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A font as the design names it; the Qt backend maps the family to an installed face.
struct FontSpec {
    std::string family;
    float points = 0.0f;
    bool bold = false;
    bool italic = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// Positions and sizes are twips from the top left of the client area. A twip is a twentieth
// of a point, 1440 to the inch whatever the screen: a screen of 96 dots to the inch shows 15
// to a pixel.
inline constexpr double twips_per_inch = 1440.0;
inline constexpr double twips_per_point = twips_per_inch / 72.0;
inline double twips_per_pixel(double dots_per_inch) { return twips_per_inch / dots_per_inch; }

struct Rect {
    float left = 0.0f;
    float top = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Label {
    std::string name;
    std::string text;
    Rect place;
    FontSpec font;
    bool opaque_background = false;  // otherwise the window shows through
    Rgb background;
    bool visible = true;
    friend bool operator==(const Label&, const Label&) = default;
};

struct PushButton {
    std::string name;
    std::string caption;
    Rect place;
    FontSpec font;
    bool visible = false;
    friend bool operator==(const PushButton&, const PushButton&) = default;
};

// A curtain half: a black frame with one black rectangle inside, at its top left corner.
struct Panel {
    std::string name;
    std::string child_name;
    Rect place;
    float child_width = 0.0f;
    float child_height = 0.0f;
    bool visible = true;
    friend bool operator==(const Panel&, const Panel&) = default;
};

// The preview box: an outline with a transparent inside.
struct Outline {
    Rect place;
    Rgb colour;
    bool visible = true;
    friend bool operator==(const Outline&, const Outline&) = default;
};

// Fill patterns: the black hatch drawn over a cell sprite's fill colour.
enum FillPattern : int {
    plain_fill = 1,
    horizontal_lines = 2,
    vertical_lines = 3,
    upward_diagonal = 4,
    downward_diagonal = 5,
    cross_hatch = 6,
    diagonal_cross = 7,
};

struct CellSprite {
    Rect place;
    Rgb fill;
    Rgb outline;
    int pattern = plain_fill;
    bool visible = false;
    // Stacking order among all cell sprites of the window: the larger is drawn on top.
    std::uint64_t z = 0;
    friend bool operator==(const CellSprite&, const CellSprite&) = default;
};

}  // namespace vorbix
