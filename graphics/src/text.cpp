// Text: two faces found through fontconfig, drawn glyph by glyph from a cache
// of coverage masks. Palette windows get hard-edged glyphs in the exact
// colour index; true-colour windows get anti-aliased ones.

#include <SDL2/SDL_ttf.h>
#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "device.h"

namespace gfx {
namespace {

constexpr int kFaceCount = 2;
constexpr int kMonoFace = 0;
constexpr int kSansFace = 1;
constexpr std::array<const char*, kFaceCount> kFamilyNames = {"Liberation Mono", "Liberation Sans"};

constexpr int kPixelsPerTextSize = 8;  // size n is 8 * n pixels high
constexpr int kMaxTextSize = 10;
constexpr int kByteCount = 256;  // text is Latin-1: one byte, one glyph
constexpr int kFullCoverage = 255;

struct FaceFile {
  bool found = false;
  std::string path;
  int index = 0;  // face inside a collection file
};

// One glyph of one face at one size, as it was rendered once.
struct GlyphMask {
  bool built = false;
  int advance = 0;
  int originX = 0;  // columns the mask reaches left of the pen position
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;  // 0..255, row by row
};

struct SizedFont {
  bool opened = false;  // an attempt was made
  TTF_Font* font = nullptr;
  int lineHeight = 0;
  std::array<GlyphMask, kByteCount> glyphs;
};

struct TextState {
  bool looked = false;  // fontconfig is asked once per process
  std::array<FaceFile, kFaceCount> faces;
  bool ttfStarted = false;
  std::array<std::array<SizedFont, kMaxTextSize>, kFaceCount> fonts;
};

TextState text;

bool SameFamily(const char* wanted, const FcChar8* family) {
  return strcasecmp(wanted, reinterpret_cast<const char*>(family)) == 0;
}

// The regular face of `family`, if fontconfig's best match really is it
// (fontconfig substitutes a different family rather than fail).
FaceFile FindFace(const char* family) {
  FaceFile face;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return face;

  bool familyMatches = false;
  FcChar8* matchedFamily = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &matchedFamily) == FcResultMatch; ++i) {
    familyMatches = familyMatches || SameFamily(family, matchedFamily);
  }
  FcChar8* file = nullptr;
  if (familyMatches && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
    face.found = true;
    face.path = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(match, FC_INDEX, 0, &face.index);
  }
  FcPatternDestroy(match);
  return face;
}

void LookUpFaces() {
  if (text.looked) return;
  text.looked = true;
  if (FcInit() == FcFalse) return;
  for (int face = 0; face < kFaceCount; ++face) text.faces[face] = FindFace(kFamilyNames[face]);
}

// Font 0 is the fixed-pitch face, every other number the sans face; a
// missing face is stood in for by the other. -1 when neither exists.
int FaceForFont(int font) {
  const int wanted = font == kMonoFont ? kMonoFace : kSansFace;
  const int other = wanted == kMonoFace ? kSansFace : kMonoFace;
  if (text.faces[wanted].found) return wanted;
  if (text.faces[other].found) return other;
  return -1;
}

int ClampedTextSize() {
  return std::clamp(device.textSize, 1, kMaxTextSize);
}

int TextBoxHeight() {
  return kPixelsPerTextSize * ClampedTextSize();
}

// Opens the face at the point size whose line height is the largest that
// fits `boxHeight`.
void OpenSizedFont(SizedFont& sized, const FaceFile& face, int boxHeight) {
  sized.opened = true;
  TTF_Font* font = TTF_OpenFontIndex(face.path.c_str(), boxHeight, face.index);
  if (font == nullptr) return;
  int bestPoints = 0;
  int bestHeight = 0;
  // Line heights stay near the point size, so twice the box bounds the scan.
  for (int points = 1; points <= 2 * boxHeight; ++points) {
    if (TTF_SetFontSize(font, points) != 0) continue;
    const int height = TTF_FontHeight(font);
    if (height <= boxHeight && height >= bestHeight) {
      bestPoints = points;
      bestHeight = height;
    }
  }
  if (bestPoints == 0 || TTF_SetFontSize(font, bestPoints) != 0) {
    TTF_CloseFont(font);
    return;
  }
  sized.font = font;
  sized.lineHeight = bestHeight;
}

// The current font at the current size, or null when there is none.
SizedFont* CurrentFont() {
  if (!text.ttfStarted) return nullptr;
  const int face = FaceForFont(device.font);
  if (face < 0) return nullptr;
  SizedFont& sized = text.fonts[face][ClampedTextSize() - 1];
  if (!sized.opened) OpenSizedFont(sized, text.faces[face], TextBoxHeight());
  return sized.font != nullptr ? &sized : nullptr;
}

void CopyCoverage(const SDL_Surface& surface, GlyphMask& glyph) {
  glyph.width = surface.w;
  glyph.height = surface.h;
  glyph.coverage.assign(static_cast<std::size_t>(surface.w) * surface.h, 0);
  const auto* pixels = static_cast<const std::uint8_t*>(surface.pixels);
  const bool argb = surface.format->BytesPerPixel == 4;
  constexpr int kAlphaShift = 24;
  for (int y = 0; y < surface.h; ++y) {
    const std::uint8_t* row = pixels + static_cast<std::ptrdiff_t>(y) * surface.pitch;
    for (int x = 0; x < surface.w; ++x) {
      std::uint8_t coverage = 0;
      if (argb) {
        std::uint32_t pixel = 0;
        std::copy_n(row + sizeof pixel * x, sizeof pixel, reinterpret_cast<std::uint8_t*>(&pixel));
        coverage = static_cast<std::uint8_t>(pixel >> kAlphaShift);
      } else {
        coverage = row[x] != 0 ? kFullCoverage : 0;  // solid: index 1 is ink
      }
      glyph.coverage[static_cast<std::size_t>(y) * surface.w + x] = coverage;
    }
  }
}

// Renders a glyph the first time it is asked for: hard-edged in palette
// windows, anti-aliased in true colour.
const GlyphMask& Glyph(SizedFont& sized, unsigned char byte) {
  GlyphMask& glyph = sized.glyphs[byte];
  if (glyph.built) return glyph;
  glyph.built = true;
  if (TTF_GlyphIsProvided32(sized.font, byte) == 0) return glyph;
  int minX = 0, maxX = 0, minY = 0, maxY = 0, advance = 0;
  if (TTF_GlyphMetrics32(sized.font, byte, &minX, &maxX, &minY, &maxY, &advance) != 0) {
    return glyph;
  }
  glyph.advance = advance;
  glyph.originX = std::max(0, -minX);
  const SDL_Color ink{255, 255, 255, 255};
  SDL_Surface* surface = device.trueColor ? TTF_RenderGlyph32_Blended(sized.font, byte, ink)
                                          : TTF_RenderGlyph32_Solid(sized.font, byte, ink);
  if (surface == nullptr) return glyph;  // blank glyphs such as space
  CopyCoverage(*surface, glyph);
  SDL_FreeSurface(surface);
  return glyph;
}

int MeasureText(SizedFont& sized, const char* string) {
  int width = 0;
  for (const char* cursor = string; *cursor != '\0'; ++cursor) {
    width += Glyph(sized, static_cast<unsigned char>(*cursor)).advance;
  }
  return width;
}

void DrawGlyph(const GlyphMask& glyph, int penX, int top) {
  const int left = penX - glyph.originX;
  for (int row = 0; row < glyph.height; ++row) {
    for (int column = 0; column < glyph.width; ++column) {
      const int coverage = glyph.coverage[static_cast<std::size_t>(row) * glyph.width + column];
      if (coverage == 0) continue;
      if (device.trueColor) {
        BlendPixel(left + column, top + row, device.color, coverage);
      } else {
        PutPixel(left + column, top + row, device.color);
      }
    }
  }
}

}  // namespace

void LoadFonts() {
  FreeFonts();
  LookUpFaces();
  const bool monoFound = text.faces[kMonoFace].found;
  const bool sansFound = text.faces[kSansFace].found;
  if (!monoFound && !sansFound) {
    std::fprintf(stderr, "graphics: no font found (%s, %s); text will not be drawn\n",
                 kFamilyNames[kMonoFace], kFamilyNames[kSansFace]);
    return;
  }
  if (!monoFound || !sansFound) {
    const int missing = monoFound ? kSansFace : kMonoFace;
    std::fprintf(stderr, "graphics: font \"%s\" not found; using \"%s\" instead\n",
                 kFamilyNames[missing], kFamilyNames[1 - missing]);
  }
  if (TTF_Init() != 0) {
    std::fprintf(stderr, "graphics: cannot start the font renderer: %s; text will not be drawn\n",
                 TTF_GetError());
    return;
  }
  text.ttfStarted = true;
}

void FreeFonts() {
  for (auto& face : text.fonts) {
    for (SizedFont& sized : face) {
      if (sized.font != nullptr) TTF_CloseFont(sized.font);
      sized = SizedFont{};
    }
  }
  if (text.ttfStarted) TTF_Quit();
  text.ttfStarted = false;
}

}  // namespace gfx

void SetTextStyle(int font, int /*direction: only horizontal text exists*/, int size) {
  gfx::device.font = font;
  gfx::device.textSize = size;
}

void SetTextJustify(int horizontal, int vertical) {
  gfx::device.justifyHorizontal = horizontal;
  gfx::device.justifyVertical = vertical;
}

int TextWidth(const char* string) {
  gfx::SizedFont* sized = gfx::CurrentFont();
  if (sized == nullptr || string == nullptr) return 0;
  return gfx::MeasureText(*sized, string);
}

int TextHeight(const char* /*string: every line is the same height*/) {
  return gfx::TextBoxHeight();
}

void OutTextXY(int x, int y, const char* string) {
  gfx::SizedFont* sized = gfx::CurrentFont();
  if (sized == nullptr || string == nullptr) return;
  const int width = gfx::MeasureText(*sized, string);
  const int height = gfx::TextBoxHeight();

  int left = x;
  if (gfx::device.justifyHorizontal == kCenterText) left = x - width / 2;
  if (gfx::device.justifyHorizontal == kRightText) left = x - width;
  const bool bottomOnRow =
      gfx::device.justifyVertical == 0 || gfx::device.justifyVertical == kBottomText;
  const int boxTop = bottomOnRow ? y - height + 1 : y;
  // The font's line sits centred in the box of 8 * size rows.
  const int lineTop = boxTop + (height - sized->lineHeight) / 2;

  int penX = left;
  for (const char* cursor = string; *cursor != '\0'; ++cursor) {
    const gfx::GlyphMask& glyph = gfx::Glyph(*sized, static_cast<unsigned char>(*cursor));
    gfx::DrawGlyph(glyph, penX, lineTop);
    penX += glyph.advance;
  }
}
