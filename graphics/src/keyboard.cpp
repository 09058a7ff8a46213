// The key queue, key translation and key state.

#include <SDL2/SDL.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "device.h"
#include "key_translation.h"

namespace gfx {
namespace {

// Ring of queued bytes; `startsPair` marks the 0 that opens an extended key,
// so that overflow can drop the pair as a whole.
struct KeyQueue {
  std::array<unsigned char, kKeyQueueSize> bytes{};
  std::array<bool, kKeyQueueSize> startsPair{};
  int head = 0;
  int count = 0;
};

KeyQueue keyQueue;

constexpr int kVirtualKeyCount = 256;
std::array<bool, kVirtualKeyCount> heldKeys{};

// Bit 15 of the key state: the key is down.
constexpr std::int16_t kKeyDownState = INT16_MIN;

// How long ReadKey sleeps per wait for an event before looking again.
constexpr int kReadKeyWaitMs = 100;

void DropOldestKey() {
  if (keyQueue.count == 0) return;
  const int dropped = (keyQueue.startsPair[keyQueue.head] && keyQueue.count >= 2) ? 2 : 1;
  keyQueue.head = (keyQueue.head + dropped) % kKeyQueueSize;
  keyQueue.count -= dropped;
}

void PushByte(unsigned char byte, bool startsPair) {
  const int tail = (keyQueue.head + keyQueue.count) % kKeyQueueSize;
  keyQueue.bytes[tail] = byte;
  keyQueue.startsPair[tail] = startsPair;
  ++keyQueue.count;
}

// ---------------------------------------------------------- translation --

struct ExtendedKey {
  SDL_Keycode key;
  unsigned char code;
};

constexpr std::array<ExtendedKey, 22> kExtendedKeys = {{
    {SDLK_UP, 72},   {SDLK_DOWN, 80},   {SDLK_LEFT, 75},     {SDLK_RIGHT, 77},  {SDLK_HOME, 71},
    {SDLK_END, 79},  {SDLK_PAGEUP, 73}, {SDLK_PAGEDOWN, 81}, {SDLK_INSERT, 82}, {SDLK_DELETE, 83},
    {SDLK_F1, 59},   {SDLK_F2, 60},     {SDLK_F3, 61},       {SDLK_F4, 62},     {SDLK_F5, 63},
    {SDLK_F6, 64},   {SDLK_F7, 65},     {SDLK_F8, 66},       {SDLK_F9, 67},     {SDLK_F10, 68},
    {SDLK_F11, 133}, {SDLK_F12, 134},
}};

// Keypad keys act as the editing and cursor keys while Num Lock is off
// (with Num Lock on they type digits through text input).
constexpr std::array<ExtendedKey, 10> kKeypadKeys = {{
    {SDLK_KP_8, 72},
    {SDLK_KP_2, 80},
    {SDLK_KP_4, 75},
    {SDLK_KP_6, 77},
    {SDLK_KP_7, 71},
    {SDLK_KP_1, 79},
    {SDLK_KP_9, 73},
    {SDLK_KP_3, 81},
    {SDLK_KP_0, 82},
    {SDLK_KP_PERIOD, 83},
}};

KeyBytes OneByte(unsigned char code) {
  return KeyBytes{1, false, code};
}
KeyBytes ExtendedBytes(unsigned char code) {
  return KeyBytes{2, true, code};
}

KeyBytes TranslateKeyDown(const SDL_Keysym& keysym) {
  const SDL_Keycode key = keysym.sym;
  const bool ctrl = (keysym.mod & KMOD_CTRL) != 0;
  const bool alt = (keysym.mod & KMOD_ALT) != 0;
  if (ctrl && !alt && key >= SDLK_a && key <= SDLK_z) {
    return OneByte(static_cast<unsigned char>(key - SDLK_a + 1));
  }
  switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return OneByte(13);
    case SDLK_ESCAPE:
      return OneByte(27);
    case SDLK_BACKSPACE:
      return OneByte(8);
    case SDLK_TAB:
      return OneByte(9);
    default:
      break;
  }
  for (const ExtendedKey& extended : kExtendedKeys) {
    if (extended.key == key) return ExtendedBytes(extended.code);
  }
  if ((keysym.mod & KMOD_NUM) == 0) {
    for (const ExtendedKey& keypad : kKeypadKeys) {
      if (keypad.key == key) return ExtendedBytes(keypad.code);
    }
  }
  return KeyBytes{};
}

// The first character of the UTF-8 text if it is a printable Latin-1 one.
KeyBytes TranslateText(const char* text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  unsigned codePoint = 0;
  if (lead < 0x80) {
    codePoint = lead;
  } else if ((lead & 0xE0) == 0xC0) {
    const auto next = static_cast<unsigned char>(text[1]);
    if ((next & 0xC0) != 0x80) return KeyBytes{};
    codePoint = ((lead & 0x1Fu) << 6) | (next & 0x3Fu);
  } else {
    return KeyBytes{};  // beyond U+07FF: not Latin-1
  }
  const bool printableAscii = codePoint >= 0x20 && codePoint <= 0x7E;
  const bool printableLatin1 = codePoint >= 0xA0 && codePoint <= 0xFF;
  if (!printableAscii && !printableLatin1) return KeyBytes{};
  return OneByte(static_cast<unsigned char>(codePoint));
}

// ------------------------------------------------------------- key state --

struct VirtualKeyScancodes {
  int virtualKey;
  SDL_Scancode first;
  SDL_Scancode second;
};

constexpr std::array<VirtualKeyScancodes, 18> kVirtualKeys = {{
    {VK_BACK, SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_UNKNOWN},
    {VK_TAB, SDL_SCANCODE_TAB, SDL_SCANCODE_UNKNOWN},
    {VK_RETURN, SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER},
    {VK_SHIFT, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT},
    {VK_CONTROL, SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL},
    {VK_MENU, SDL_SCANCODE_LALT, SDL_SCANCODE_RALT},
    {VK_ESCAPE, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_UNKNOWN},
    {VK_SPACE, SDL_SCANCODE_SPACE, SDL_SCANCODE_UNKNOWN},
    {VK_PRIOR, SDL_SCANCODE_PAGEUP, SDL_SCANCODE_UNKNOWN},
    {VK_NEXT, SDL_SCANCODE_PAGEDOWN, SDL_SCANCODE_UNKNOWN},
    {VK_END, SDL_SCANCODE_END, SDL_SCANCODE_UNKNOWN},
    {VK_HOME, SDL_SCANCODE_HOME, SDL_SCANCODE_UNKNOWN},
    {VK_LEFT, SDL_SCANCODE_LEFT, SDL_SCANCODE_UNKNOWN},
    {VK_UP, SDL_SCANCODE_UP, SDL_SCANCODE_UNKNOWN},
    {VK_RIGHT, SDL_SCANCODE_RIGHT, SDL_SCANCODE_UNKNOWN},
    {VK_DOWN, SDL_SCANCODE_DOWN, SDL_SCANCODE_UNKNOWN},
    {VK_INSERT, SDL_SCANCODE_INSERT, SDL_SCANCODE_UNKNOWN},
    {VK_DELETE, SDL_SCANCODE_DELETE, SDL_SCANCODE_UNKNOWN},
}};

bool ScancodeDown(const Uint8* state, SDL_Scancode scancode) {
  return scancode != SDL_SCANCODE_UNKNOWN && state[scancode] != 0;
}

// Letters and digits follow the keyboard layout: the key that types 'a' is
// virtual key 'A'.
bool WindowKeyDown(int virtualKey) {
  const Uint8* state = SDL_GetKeyboardState(nullptr);
  if (virtualKey >= 'A' && virtualKey <= 'Z') {
    return ScancodeDown(state, SDL_GetScancodeFromKey(SDLK_a + (virtualKey - 'A')));
  }
  if (virtualKey >= '0' && virtualKey <= '9') {
    return ScancodeDown(state, SDL_GetScancodeFromKey(SDLK_0 + (virtualKey - '0')));
  }
  if (virtualKey >= VK_F1 && virtualKey <= VK_F12) {
    return ScancodeDown(state, static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + (virtualKey - VK_F1)));
  }
  for (const VirtualKeyScancodes& entry : kVirtualKeys) {
    if (entry.virtualKey == virtualKey) {
      return ScancodeDown(state, entry.first) || ScancodeDown(state, entry.second);
    }
  }
  return false;
}

}  // namespace

KeyBytes TranslateKeyEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
      return TranslateKeyDown(event.key.keysym);
    case SDL_TEXTINPUT:
      return TranslateText(event.text.text);
    default:
      return KeyBytes{};
  }
}

void ClearKeyQueue() {
  keyQueue = KeyQueue{};
}

void QueueKey(unsigned char code, bool extended) {
  const int needed = extended ? 2 : 1;
  while (kKeyQueueSize - keyQueue.count < needed) DropOldestKey();
  if (extended) {
    PushByte(0, true);
    PushByte(code, false);
  } else {
    PushByte(code, false);
  }
}

bool KeyQueueEmpty() {
  return keyQueue.count == 0;
}

unsigned char TakeKeyByte() {
  if (keyQueue.count == 0) return 0;
  const unsigned char byte = keyQueue.bytes[keyQueue.head];
  keyQueue.head = (keyQueue.head + 1) % kKeyQueueSize;
  --keyQueue.count;
  return byte;
}

void ClearHeldKeys() {
  heldKeys.fill(false);
}

void SetHeldKey(int virtualKey, bool down) {
  if (virtualKey >= 0 && virtualKey < kVirtualKeyCount) heldKeys[virtualKey] = down;
}

}  // namespace gfx

bool KeyPressed() {
  gfx::PumpEvents();
  return !gfx::KeyQueueEmpty();
}

unsigned char ReadKey() {
  gfx::PumpEvents();
  while (gfx::KeyQueueEmpty()) {
    if (gfx::HeadlessEnabled()) {
      std::fputs("headless: ReadKey on an empty key queue\n", stderr);
      std::abort();
    }
    if (!gfx::device.open) {
      std::fputs("graphics: ReadKey with no window open and an empty key queue\n", stderr);
      std::abort();
    }
    SDL_WaitEventTimeout(nullptr, gfx::kReadKeyWaitMs);
    gfx::PumpEvents();
  }
  return gfx::TakeKeyByte();
}

std::int16_t GetAsyncKeyState(int virtualKey) {
  if (gfx::HeadlessEnabled()) {
    const bool down =
        virtualKey >= 0 && virtualKey < gfx::kVirtualKeyCount && gfx::heldKeys[virtualKey];
    return down ? gfx::kKeyDownState : std::int16_t{0};
  }
  gfx::PumpEvents();
  return gfx::WindowKeyDown(virtualKey) ? gfx::kKeyDownState : std::int16_t{0};
}
