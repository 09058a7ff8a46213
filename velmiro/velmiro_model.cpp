#include "velmiro_model.h"

#include <cmath>
#include <cstdio>

#include "graphics.h"

namespace {

constexpr int kStarSeedColumns = 320;
constexpr int kStarSeedRows = 199;
constexpr int kStarLastColumn = 319;
constexpr int kStarBandGap = 15;  // rows kept clear above the horizon
constexpr double kPictureCentreX = 160.0;
constexpr double kPictureCentreY = 100.0;
constexpr double kStarSpread = 25.0;
constexpr double kStarNeutralX = 320.0;
constexpr double kStarDriftDivisorX = 20.0;
constexpr double kStarNeutralHalfY = 80.0;
constexpr double kStarDriftDivisorY = 10.0;

constexpr int kTurnNeutralX = 282;
constexpr int kTurnDivisor = 50;

constexpr double kClimbNeutralHalfY = 140.0;
constexpr double kClimbDivisor = 50.0;
constexpr int kGroundAltitude = 1;  // below this the glider is down

constexpr double kAngleYOffsetX = 100.0;
constexpr double kAngleYDivisor = 800.0;
constexpr double kAngleYBase = 2.67;
constexpr double kAngleXDivisor = 650.0;
constexpr double kAngleXBase = 4.5;
constexpr double kAngleZWhole = 320.0;  // whole radians; only sin/cos matter
constexpr double kAngleZDivisor = 800.0;
constexpr double kAngleZBase = 0.8;

constexpr double kProjectionScale = 128.0;
constexpr int kProjectionCentreX = 160;
constexpr double kProjectionCentreY = 100.0;

}  // namespace

const std::array<GliderVertex, kGliderVertexCount> kGliderVertices = {{
    {0, -50, 0},    // 1 nose point
    {5, -40, 0},    // 2 fuselage outline
    {5, 40, 0},     // 3 fuselage outline, tail
    {-5, 40, 0},    // 4 fuselage outline, tail
    {-5, -40, 0},   // 5 fuselage outline
    {0, -25, 5},    // 6 front of the ridge
    {0, 40, 5},     // 7 rear of the ridge
    {5, -20, 0},    // 8 right wing, leading root
    {50, 25, 0},    // 9 right wing tip
    {5, 20, 0},     // 10 right wing, trailing root
    {-5, -20, 0},   // 11 left wing, leading root
    {-50, 25, 0},   // 12 left wing tip
    {-5, 20, 0},    // 13 left wing, trailing root
    {20, 5, -2},    // 14 right bar, rear end
    {20, -20, -2},  // 15 right bar, front end
    {-20, 5, -2},   // 16 left bar, rear end
    {-20, -20, -2}, // 17 left bar, front end
}};

const std::array<GliderEdge, kGliderEdgeCount> kGliderEdges = {{
    {0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 0},  // pointed fuselage outline
    {0, 5}, {5, 6}, {6, 2}, {6, 3},          // ridge and its tail stays
    {7, 8}, {8, 9},                          // right wing
    {10, 11}, {11, 12},                      // left wing
    {13, 14}, {15, 16},                      // the two bars
}};

void StartFlight(FlightState& flight) {
  flight = FlightState{};
  SeedStars(flight);
}

void SeedStars(FlightState& flight) {
  for (Star& star : flight.stars) {
    star.x = Random(kStarSeedColumns);
    star.y = Random(kStarSeedRows);
  }
}

bool StarOutsideBand(const Star& star, int altitude) {
  return star.x < 1 || star.x > kStarLastColumn ||
         star.y < 1 || star.y > altitude - kStarBandGap;
}

void ReseedStar(Star& star, int altitude) {
  star.x = Random(kStarSeedColumns);
  star.y = Random(altitude - kStarBandGap);
}

void DriftStar(Star& star, int mouseX, int mouseHalfY) {
  const double x = star.x;
  const double y = star.y;
  star.x = TruncateToCell(x - (kPictureCentreX - x) / kStarSpread +
                          (kStarNeutralX - mouseX) / kStarDriftDivisorX);
  star.y = TruncateToCell(y - (kPictureCentreY - y) / kStarSpread +
                          (kStarNeutralHalfY - mouseHalfY) / kStarDriftDivisorY);
}

void MoveStars(FlightState& flight) {
  for (Star& star : flight.stars) {
    if (StarOutsideBand(star, flight.altitude)) {
      ReseedStar(star, flight.altitude);
    }
    DriftStar(star, flight.mouseX, flight.mouseHalfY);
  }
}

void AdvanceTurn(FlightState& flight) {
  flight.turnSum += (kTurnNeutralX - flight.mouseX) / kTurnDivisor;
}

void AdvanceStripePhase(FlightState& flight) {
  flight.stripePhase = (flight.stripePhase + 1) & kStripePhaseMask;
}

void ApplyMouse(FlightState& flight, int windowX, int windowY) {
  flight.mouseX = windowX;
  flight.mouseHalfY = windowY / 2;

  flight.altitude += TruncateToCell((kClimbNeutralHalfY - flight.mouseHalfY) /
                                    kClimbDivisor);
  if (flight.altitude > kMaxAltitude) {
    flight.altitude = kMaxAltitude;
  }
  if (flight.altitude < kGroundAltitude) {
    flight.grounded = true;
  }

  flight.angleY = (flight.mouseX + kAngleYOffsetX) / kAngleYDivisor + kAngleYBase;
  flight.angleX = flight.mouseHalfY / kAngleXDivisor + kAngleXBase;
  flight.angleZ = kAngleZWhole - flight.mouseX / kAngleZDivisor + kAngleZBase;

  FormatAltitudeText(flight.altitude, flight.altitudeText);
}

void FormatAltitudeText(int altitude, char (&text)[kAltitudeTextSize]) {
  const char* warning = altitude < kWarningAltitude ? " - PREA JOS !" : "";
  std::snprintf(text, sizeof text, "%3d m%s", altitude, warning);
}

GliderProjection ProjectGlider(double angleX, double angleY, double angleZ,
                               int viewDistance) {
  const double cosX = std::cos(angleX);
  const double sinX = std::sin(angleX);
  const double cosY = std::cos(angleY);
  const double sinY = std::sin(angleY);
  const double cosZ = std::cos(angleZ);
  const double sinZ = std::sin(angleZ);

  GliderProjection projection;
  for (int i = 0; i < kGliderVertexCount; ++i) {
    const double x = kGliderVertices[i].x;
    const double y = kGliderVertices[i].y;
    const double z = kGliderVertices[i].z;
    const double y1 = y * cosX - z * sinX;
    const double z1 = y * sinX + z * cosX;
    const double x2 = x * cosY - z1 * sinY;
    const double z2 = x * sinY + z1 * cosY;
    const double x3 = x2 * cosZ - y1 * sinZ;
    const double y3 = x2 * sinZ + y1 * cosZ;
    const double depth = viewDistance - z2;
    // The column is shifted after truncating, the row inside it.
    projection.x[i] = TruncateToCell(x3 * kProjectionScale / depth) + kProjectionCentreX;
    projection.y[i] = TruncateToCell(kProjectionCentreY - y3 * kProjectionScale / depth);
  }
  return projection;
}
