// The drawing layer every program draws through: one window with two drawing
// pages, palette or true colour, lines, circles, bars, text, a key queue, the
// mouse, key state and random numbers. Programs include only this header.
#pragma once

#include <cstdint>

// ---------------------------------------------------------------- window --

constexpr int kPaletteDriver = 3;    // 8-bit palette colour
constexpr int kTrueColorDriver = 9;  // 24-bit colour, no palette
constexpr int kMode640x480 = 4;
constexpr int kMode800x600 = 6;

// Opens the window with the drawing area of `mode` and the given caption and
// clears both pages. If the window cannot be opened, prints one line naming
// the reason on stderr and exits with status 1.
void InitGraph(int driver, int mode, const char* caption);
void CloseGraph();
int GetMaxX();  // width - 1
int GetMaxY();  // height - 1

// Two pages, 0 and 1. Drawing goes to the active page; the window shows the
// visual page. SetVisualPage returns without waiting for the screen, but
// paces page flips (60 per second unless GRAPHICS_FPS or SetFrameRate says
// otherwise; 0 means no pacing).
void SetActivePage(int page);
void SetVisualPage(int page);
void ClearDevice();  // active page to black
void SetFrameRate(int flipsPerSecond);

// --------------------------------------------------------------- colours --

// A colour value: a palette index 0..255 in palette windows,
// red + 256 * green + 65536 * blue in true-colour windows.
using Color = std::uint32_t;

// Nearest palette entry in palette windows, the packed value in true colour.
// Components outside 0..255 are clamped.
Color RGBColor(int red, int green, int blue);
Color WhiteColor();       // (255, 255, 255)
Color YellowColor();      // (255, 255, 0)
Color GreenColor();       // (0, 128, 0)
Color RedColor();         // (255, 0, 0)
Color LightRedColor();    // (255, 128, 128)
Color LightGreenColor();  // (144, 238, 144)
Color LightGrayColor();   // (168, 168, 168)

// ---------------------------------------------------------------- drawing --

// Coordinates are full ints; everything is clipped to the drawing area at a
// cost that depends only on the visible part.
constexpr int kSolidFill = 1;

void SetColor(Color color);
Color GetColor();
void SetFillStyle(int pattern, Color color);     // 1 solid; 0 background
void Line(int x1, int y1, int x2, int y2);       // both ends; current point := (x2, y2)
void MoveTo(int x, int y);
void LineTo(int x, int y);                       // current point := (x, y)
void Circle(int x, int y, int radius);           // one-pixel outline
void Bar(int x1, int y1, int x2, int y2);        // filled, both corners, any order

// ------------------------------------------------------------------- text --

constexpr int kMonoFont = 0;  // fixed pitch
constexpr int kSansFont = 3;  // proportional sans-serif
constexpr int kHorizDir = 0;
constexpr int kLeftText = 0, kCenterText = 1, kRightText = 2;  // horizontal
constexpr int kBottomText = 1, kTopText = 2;                   // vertical

// Size n gives text 8 * n pixels high.
void SetTextStyle(int font, int direction, int size);
// Default (kLeftText, kTopText): top-left corner on the point. Vertical 0 or 1
// puts the text's bottom edge on the point's row.
void SetTextJustify(int horizontal, int vertical);
void OutTextXY(int x, int y, const char* text);  // current colour, no background
int TextWidth(const char* text);
int TextHeight(const char* text);

// -------------------------------------------------------------- keyboard --

// The key queue: characters as their codes, extended keys as 0 then the code.
// The window's close button queues 0, 107.
bool KeyPressed();           // never waits, takes nothing
unsigned char ReadKey();     // next byte; waits while the queue is empty

// Virtual-key codes understood by GetAsyncKeyState (letters 'A'..'Z' and
// digits '0'..'9' are their own codes).
constexpr int VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_SHIFT = 16,
              VK_CONTROL = 17, VK_MENU = 18, VK_ESCAPE = 27, VK_SPACE = 32,
              VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35, VK_HOME = 36,
              VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40,
              VK_INSERT = 45, VK_DELETE = 46, VK_F1 = 112, VK_F12 = 123;

// Negative while the key is down at the moment of the call.
std::int16_t GetAsyncKeyState(int virtualKey);

// ----------------------------------------------------------------- mouse --

constexpr int kMouseLeft = 1, kMouseRight = 2, kMouseMiddle = 4,
              kMouseShift = 8, kMouseCtrl = 16;

// As of the last mouse event that reached the window; 0 before the first.
int GetMouseX();
int GetMouseY();
int GetMouseButtonState();

// ---------------------------------------------------------------- random --

void Randomize();     // seed from the clock
int Random(int n);    // 0..n-1 for n >= 1; n+1..0 for n <= 0
