#include "frame/colour_tables.h"

RGB_MAP rgb_table;
COLOR_MAP trans_table;
std::array<int, 40> shade_colours = {};

namespace {

struct Rgb {
  int r, g, b;
};

constexpr Rgb shade_rgb[40] = {
    {255, 0, 0},     {200, 0, 0},     {150, 0, 0},     {100, 0, 0},     {50, 0, 0},
    {20, 0, 0},      {0, 0, 0},       {0, 0, 0},       {0, 255, 0},     {0, 200, 0},
    {0, 150, 0},     {0, 100, 0},     {0, 70, 0},      {0, 50, 0},      {0, 30, 0},
    {0, 10, 0},      {255, 255, 255}, {200, 200, 200}, {150, 150, 150}, {100, 100, 100},
    {70, 70, 70},    {50, 50, 50},    {30, 30, 30},    {10, 10, 10},    {0, 0, 255},
    {0, 0, 200},     {0, 0, 150},     {0, 0, 100},     {0, 0, 70},      {0, 0, 50},
    {0, 0, 30},      {0, 0, 10},      {255, 128, 0},   {200, 100, 0},   {150, 75, 0},
    {100, 50, 0},    {70, 35, 0},     {50, 25, 0},     {30, 15, 0},     {10, 5, 0},
};

}  // namespace

void compute_shade_colours() {
  for (int i = 0; i < 40; ++i)
    shade_colours[i] = makecol(shade_rgb[i].r, shade_rgb[i].g, shade_rgb[i].b);
}
