// The SDL window: opening and closing it, showing the visual page scaled to
// the window, pacing page flips, and turning window events into key-queue
// bytes and mouse state.

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "device.h"
#include "key_translation.h"
#include "window_math.h"

namespace gfx {

MouseState mouse;

namespace {

constexpr int kDefaultFrameRate = 60;
constexpr int kCloseButtonCode = 107;
constexpr int kMaxFrameRateDigits = 9;  // keeps the parsed value inside int

struct WindowState {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  // The last picture shown, as uploaded to the texture; kept to repaint the
  // window on expose and resize.
  std::vector<std::uint32_t> picture;
  int windowWidth = 0;
  int windowHeight = 0;
  // Modifier keys as of the last key event, for the mouse's Shift/Ctrl bits.
  Uint16 modifiers = 0;
  // Mouse buttons held as of the last mouse event.
  int buttons = 0;
  // Whether the pointer of the X event being handled lies inside the window.
  // SDL clamps the positions of a drag that left the window to its edge, so
  // the raw X events tell inside from outside.
  bool pointerInside = true;
};

WindowState windowState;

struct Pacing {
  int programRate = kDefaultFrameRate;  // SetFrameRate
  bool environmentSet = false;          // GRAPHICS_FPS, when set, wins
  int environmentRate = 0;
  FlipSchedule schedule;
};

Pacing pacing;

bool WindowOpen() {
  return windowState.window != nullptr;
}

[[noreturn]] void FailToOpen(const char* reason) {
  std::fprintf(stderr, "graphics: cannot open the window: %s\n", reason);
  SDL_Quit();
  std::exit(1);
}

void ReadFrameRateSetting() {
  pacing.environmentSet = false;
  const char* text = std::getenv("GRAPHICS_FPS");
  int rate = 0;
  switch (ParseFrameRateSetting(text, rate)) {
    case FrameRateSetting::kValid:
      pacing.environmentSet = true;
      pacing.environmentRate = rate;
      break;
    case FrameRateSetting::kInvalid:
      std::fprintf(stderr,
                   "graphics: GRAPHICS_FPS=\"%s\" is not a whole number >= 0; using the "
                   "default pace\n",
                   text);
      break;
    case FrameRateSetting::kUnset:
      break;
  }
}

int EffectiveFrameRate() {
  return pacing.environmentSet ? pacing.environmentRate : pacing.programRate;
}

// Sleeps until the schedule allows the next flip to return.
void PaceFlip() {
  const int rate = EffectiveFrameRate();
  if (rate <= 0) return;
  const auto period =
      std::chrono::duration_cast<FlipClock::duration>(std::chrono::duration<double>(1.0 / rate));
  const FlipClock::time_point wakeUp = ScheduleFlip(pacing.schedule, FlipClock::now(), period);
  std::this_thread::sleep_until(wakeUp);
}

// Uploads the kept picture and shows it letterboxed on black.
void ShowPicture() {
  constexpr int kBytesPerPixel = 4;
  SDL_UpdateTexture(windowState.texture, nullptr, windowState.picture.data(),
                    device.width * kBytesPerPixel);
  int outputWidth = 0;
  int outputHeight = 0;
  SDL_GetRendererOutputSize(windowState.renderer, &outputWidth, &outputHeight);
  const ScreenRect fit = LetterboxRect(device.width, device.height, outputWidth, outputHeight);
  const SDL_Rect target{fit.x, fit.y, fit.width, fit.height};
  SDL_SetRenderDrawColor(windowState.renderer, 0, 0, 0, SDL_ALPHA_OPAQUE);
  SDL_RenderClear(windowState.renderer);
  SDL_RenderCopy(windowState.renderer, windowState.texture, nullptr, &target);
  SDL_RenderPresent(windowState.renderer);
}

void ShowVisualPage() {
  PageToArgb(device.visualPage, windowState.picture.data());
  ShowPicture();
}

int ButtonBit(Uint8 sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT:
      return kMouseLeft;
    case SDL_BUTTON_RIGHT:
      return kMouseRight;
    case SDL_BUTTON_MIDDLE:
      return kMouseMiddle;
    default:
      return 0;
  }
}

int ButtonsFromMask(Uint32 mask) {
  int buttons = 0;
  if ((mask & SDL_BUTTON_LMASK) != 0) buttons |= kMouseLeft;
  if ((mask & SDL_BUTTON_RMASK) != 0) buttons |= kMouseRight;
  if ((mask & SDL_BUTTON_MMASK) != 0) buttons |= kMouseMiddle;
  return buttons;
}

// Notes where the pointer of a raw X pointer event is; the SDL mouse events
// made from it follow it in the queue.
void NoteRawPointerEvent(const SDL_SysWMmsg& message) {
#if defined(SDL_VIDEO_DRIVER_X11)
  if (message.subsystem != SDL_SYSWM_X11) return;
  const XEvent& raw = message.msg.x11.event;
  int x = 0;
  int y = 0;
  switch (raw.type) {
    case MotionNotify:
      x = raw.xmotion.x, y = raw.xmotion.y;
      break;
    case ButtonPress:
    case ButtonRelease:
      x = raw.xbutton.x, y = raw.xbutton.y;
      break;
    case EnterNotify:
    case LeaveNotify:
      x = raw.xcrossing.x, y = raw.xcrossing.y;
      break;
    default:
      return;
  }
  windowState.pointerInside =
      x >= 0 && y >= 0 && x < windowState.windowWidth && y < windowState.windowHeight;
#else
  static_cast<void>(message);
#endif
}

bool PointerOutside(Uint32 windowId, int x, int y) {
  return windowId == 0 || !windowState.pointerInside || x < 0 || y < 0 ||
         x >= windowState.windowWidth || y >= windowState.windowHeight;
}

// Records a mouse event at window position (x, y). Events outside the window
// are dropped so the last position inside stays.
void RecordMouse(Uint32 windowId, int x, int y) {
  if (PointerOutside(windowId, x, y)) return;
  const ScreenRect fit =
      LetterboxRect(device.width, device.height, windowState.windowWidth, windowState.windowHeight);
  const PixelPoint pixel = WindowToDrawingArea(fit, device.width, device.height, x, y);
  int buttons = windowState.buttons;
  if ((windowState.modifiers & KMOD_SHIFT) != 0) buttons |= kMouseShift;
  if ((windowState.modifiers & KMOD_CTRL) != 0) buttons |= kMouseCtrl;
  mouse = MouseState{pixel.x, pixel.y, buttons};
}

// Handles one window event; returns true when the window needs repainting.
bool HandleWindowEvent(const SDL_WindowEvent& event) {
  switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
      QueueKey(kCloseButtonCode, true);
      return false;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      windowState.windowWidth = event.data1;
      windowState.windowHeight = event.data2;
      return true;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESTORED:
      return true;
    default:
      return false;
  }
}

void QueueTranslatedKey(const SDL_Event& event) {
  const KeyBytes bytes = TranslateKeyEvent(event);
  if (bytes.count > 0) QueueKey(bytes.code, bytes.extended);
}

void CloseWindow() {
  if (windowState.texture != nullptr) SDL_DestroyTexture(windowState.texture);
  if (windowState.renderer != nullptr) SDL_DestroyRenderer(windowState.renderer);
  if (windowState.window != nullptr) SDL_DestroyWindow(windowState.window);
  SDL_Quit();
  windowState = WindowState{};
}

bool EnvironmentSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0';
}

// Only drivers that show a window on a desktop: without one SDL would fall
// back to an invisible off-screen window. SDL_VIDEODRIVER still overrides.
void ChooseVideoDrivers() {
  const bool x11 = EnvironmentSet("DISPLAY");
  const bool wayland = EnvironmentSet("WAYLAND_DISPLAY");
  if (!x11 && !wayland && !EnvironmentSet("SDL_VIDEODRIVER")) {
    FailToOpen("no display (DISPLAY is not set)");
  }
  SDL_SetHint(SDL_HINT_VIDEODRIVER, x11 && wayland ? "x11,wayland" : x11 ? "x11" : "wayland");
}

void StartVideo() {
  ChooseVideoDrivers();
  if (SDL_Init(SDL_INIT_VIDEO) == 0) return;
  constexpr std::size_t kReasonSize = 512;
  char reason[kReasonSize];
  const char* display = std::getenv("DISPLAY");
  std::snprintf(reason, sizeof reason, "%s (DISPLAY=%s)", SDL_GetError(),
                display != nullptr ? display : "");
  FailToOpen(reason);
}

void OpenWindow(const char* caption) {
  // Leave SIGINT and SIGTERM to their default action: the program ends at
  // once instead of getting a quit event it would ignore.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  StartVideo();

  windowState.window = SDL_CreateWindow(caption != nullptr ? caption : "", SDL_WINDOWPOS_CENTERED,
                                        SDL_WINDOWPOS_CENTERED, device.width, device.height,
                                        SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
  if (windowState.window == nullptr) FailToOpen(SDL_GetError());
  windowState.renderer = SDL_CreateRenderer(windowState.window, -1, 0);
  if (windowState.renderer == nullptr) FailToOpen(SDL_GetError());
  windowState.texture = SDL_CreateTexture(windowState.renderer, SDL_PIXELFORMAT_ARGB8888,
                                          SDL_TEXTUREACCESS_STREAMING, device.width, device.height);
  if (windowState.texture == nullptr) FailToOpen(SDL_GetError());

  windowState.picture.assign(static_cast<std::size_t>(device.width) * device.height, 0);
  SDL_GetWindowSize(windowState.window, &windowState.windowWidth, &windowState.windowHeight);
  windowState.modifiers = static_cast<Uint16>(SDL_GetModState());
  SDL_StartTextInput();
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  ShowVisualPage();
}

}  // namespace

// ------------------------------------------------------------ arithmetic --

ScreenRect LetterboxRect(int areaWidth, int areaHeight, int windowWidth, int windowHeight) {
  if (areaWidth <= 0 || areaHeight <= 0 || windowWidth <= 0 || windowHeight <= 0) {
    return ScreenRect{};
  }
  // Compare the aspects by cross-multiplying to stay in whole numbers.
  const std::int64_t widthLimited = std::int64_t{windowWidth} * areaHeight;
  const std::int64_t heightLimited = std::int64_t{windowHeight} * areaWidth;
  if (widthLimited <= heightLimited) {
    const int height =
        std::max(1, static_cast<int>(std::int64_t{areaHeight} * windowWidth / areaWidth));
    return ScreenRect{0, (windowHeight - height) / 2, windowWidth, height};
  }
  const int width =
      std::max(1, static_cast<int>(std::int64_t{areaWidth} * windowHeight / areaHeight));
  return ScreenRect{(windowWidth - width) / 2, 0, width, windowHeight};
}

namespace {

// The area pixel whose scaled span holds the centre of window pixel `offset`
// (counted from the picture's edge), clamped to the area.
int WindowToAreaAxis(int offset, int pictureSize, int areaSize) {
  if (offset < 0 || pictureSize <= 0) return 0;
  const std::int64_t pixel =
      (2 * std::int64_t{offset} + 1) * areaSize / (2 * std::int64_t{pictureSize});
  return static_cast<int>(std::min<std::int64_t>(pixel, areaSize - 1));
}

}  // namespace

PixelPoint WindowToDrawingArea(const ScreenRect& picture, int areaWidth, int areaHeight,
                               int windowX, int windowY) {
  return PixelPoint{WindowToAreaAxis(windowX - picture.x, picture.width, areaWidth),
                    WindowToAreaAxis(windowY - picture.y, picture.height, areaHeight)};
}

FlipClock::time_point ScheduleFlip(FlipSchedule& schedule, FlipClock::time_point now,
                                   FlipClock::duration period) {
  if (!schedule.started || now - schedule.deadline > period) {
    schedule.started = true;
    schedule.deadline = now + period;
    return now;
  }
  const FlipClock::time_point wakeUp = std::max(now, schedule.deadline);
  schedule.deadline += period;
  return wakeUp;
}

FrameRateSetting ParseFrameRateSetting(const char* text, int& flipsPerSecond) {
  if (text == nullptr || text[0] == '\0') return FrameRateSetting::kUnset;
  int value = 0;
  int digits = 0;
  for (const char* cursor = text; *cursor != '\0'; ++cursor) {
    if (*cursor < '0' || *cursor > '9' || ++digits > kMaxFrameRateDigits) {
      return FrameRateSetting::kInvalid;
    }
    value = value * 10 + (*cursor - '0');
  }
  flipsPerSecond = value;
  return FrameRateSetting::kValid;
}

// ---------------------------------------------------------------- events --

void PumpEvents() {
  if (!WindowOpen()) return;
  bool repaint = false;
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    switch (event.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        windowState.modifiers = event.key.keysym.mod;
        QueueTranslatedKey(event);
        break;
      case SDL_TEXTINPUT:
        QueueTranslatedKey(event);
        break;
      case SDL_MOUSEMOTION:
        windowState.buttons = ButtonsFromMask(event.motion.state);
        RecordMouse(event.motion.windowID, event.motion.x, event.motion.y);
        break;
      case SDL_MOUSEBUTTONDOWN:
        windowState.buttons |= ButtonBit(event.button.button);
        RecordMouse(event.button.windowID, event.button.x, event.button.y);
        break;
      case SDL_MOUSEBUTTONUP:
        windowState.buttons &= ~ButtonBit(event.button.button);
        RecordMouse(event.button.windowID, event.button.x, event.button.y);
        break;
      case SDL_MOUSEWHEEL:
        RecordMouse(event.wheel.windowID, event.wheel.mouseX, event.wheel.mouseY);
        break;
      case SDL_WINDOWEVENT:
        repaint = HandleWindowEvent(event.window) || repaint;
        break;
      case SDL_SYSWMEVENT:
        NoteRawPointerEvent(*event.syswm.msg);
        break;
      case SDL_RENDER_TARGETS_RESET:
        repaint = true;
        break;
      default:
        break;  // SDL_QUIT included: only the program decides when to end
    }
  }
  if (repaint) ShowPicture();
}

}  // namespace gfx

// ---------------------------------------------------------------- window --

void InitGraph(int driver, int mode, const char* caption) {
  constexpr int kWidth640 = 640, kHeight480 = 480;
  constexpr int kWidth800 = 800, kHeight600 = 600;
  const bool large = mode == kMode800x600;
  const int width = large ? kWidth800 : kWidth640;
  const int height = large ? kHeight600 : kHeight480;

  if (gfx::WindowOpen()) gfx::CloseWindow();
  gfx::ResetPages(width, height, driver == kTrueColorDriver);
  gfx::ClearKeyQueue();
  gfx::ClearHeldKeys();
  gfx::mouse = gfx::MouseState{};
  gfx::LoadFonts();
  if (!gfx::HeadlessEnabled()) {
    gfx::ReadFrameRateSetting();
    gfx::pacing.schedule = gfx::FlipSchedule{};
    gfx::OpenWindow(caption);
  }
  gfx::device.open = true;
}

void CloseGraph() {
  if (gfx::WindowOpen()) gfx::CloseWindow();
  gfx::FreeFonts();
  gfx::device.open = false;
}

int GetMaxX() {
  return gfx::device.width - 1;
}
int GetMaxY() {
  return gfx::device.height - 1;
}

void SetVisualPage(int page) {
  if (page < 0 || page >= gfx::kPageCount) return;
  gfx::device.visualPage = page;
  if (gfx::HeadlessEnabled()) {
    gfx::HeadlessFlip();
    return;
  }
  if (!gfx::WindowOpen()) return;
  gfx::ShowVisualPage();
  gfx::PumpEvents();
  gfx::PaceFlip();
}

void SetFrameRate(int flipsPerSecond) {
  gfx::pacing.programRate = std::max(0, flipsPerSecond);
  gfx::pacing.schedule = gfx::FlipSchedule{};
}

int GetMouseX() {
  gfx::PumpEvents();
  return gfx::mouse.x;
}

int GetMouseY() {
  gfx::PumpEvents();
  return gfx::mouse.y;
}

int GetMouseButtonState() {
  gfx::PumpEvents();
  return gfx::mouse.buttons;
}
