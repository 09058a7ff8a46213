// The glider's flight state and its per-frame step: the altitude rule, the
// angles taken from the mouse, the turning sum, the stripe phase, the star
// field, and the glider's wireframe with its perspective projection.
#pragma once

#include <array>

constexpr int kStartAltitude = 10;
constexpr int kMaxAltitude = 190;
constexpr int kWarningAltitude = 20;  // the warning shows below this
constexpr int kViewDistance = 99;
constexpr int kStarCount = 32;
constexpr int kGliderVertexCount = 17;
constexpr int kGliderEdgeCount = 15;
constexpr int kStripePhaseMask = 7;
constexpr int kAltitudeTextSize = 32;

struct Star {
  int x = 0;  // cell column
  int y = 0;  // cell row
};

struct FlightState {
  int altitude = kStartAltitude;  // metres, and the horizon's cell row
  bool grounded = false;
  int mouseX = 0;      // window pixels, as read in the previous frame
  int mouseHalfY = 0;  // window row / 2, as read in the previous frame
  int turnSum = 0;     // low four bits turn the ground rays
  int stripePhase = 0; // 0..7
  double angleX = 0.0;
  double angleY = 0.0;
  double angleZ = 0.0;
  int viewDistance = kViewDistance;
  char altitudeText[kAltitudeTextSize] = {};
  std::array<Star, kStarCount> stars{};
};

struct GliderVertex {
  int x;
  int y;
  int z;
};

struct GliderEdge {
  int from;  // vertex indices, 0-based
  int to;
};

// Nose towards negative y, ridge towards positive z.
extern const std::array<GliderVertex, kGliderVertexCount> kGliderVertices;
extern const std::array<GliderEdge, kGliderEdgeCount> kGliderEdges;

// Projected cell column and row of every glider vertex.
struct GliderProjection {
  std::array<int, kGliderVertexCount> x{};
  std::array<int, kGliderVertexCount> y{};
};

// Every real-to-cell conversion truncates toward zero (-85.5 gives -85).
inline int TruncateToCell(double value) { return static_cast<int>(value); }

// Start values of the run; the stars come from the unseeded generator.
void StartFlight(FlightState& flight);
void SeedStars(FlightState& flight);

// A star survives only while its last position lies in columns 1..319 and
// rows 1..altitude - 15, a band above the horizon.
bool StarOutsideBand(const Star& star, int altitude);
void ReseedStar(Star& star, int altitude);
// Outward from the picture centre by 1/25 of the distance, against the mouse.
void DriftStar(Star& star, int mouseX, int mouseHalfY);
// Re-seeds and drifts every star, in order, with last frame's mouse.
void MoveStars(FlightState& flight);

// turnSum += (282 - mouseX) div 50.
void AdvanceTurn(FlightState& flight);
void AdvanceStripePhase(FlightState& flight);

// Takes the mouse read this frame and updates the altitude (with the cap and
// the grounding), the three angles and the altitude text.
void ApplyMouse(FlightState& flight, int windowX, int windowY);

// The altitude right-aligned in three characters, " m", and the warning
// below 20: 12 gives " 12 m - PREA JOS !".
void FormatAltitudeText(int altitude, char (&text)[kAltitudeTextSize]);

// Rotates the wireframe about x, then y, then z and projects it onto the
// grid with the eye at `viewDistance`.
GliderProjection ProjectGlider(double angleX, double angleY, double angleZ,
                               int viewDistance);
