// Key events to key-queue bytes.

#include "key_translation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

SDL_Event KeyDown(SDL_Keycode key, Uint16 modifiers = KMOD_NONE, Uint8 repeat = 0) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.state = SDL_PRESSED;
  event.key.repeat = repeat;
  event.key.keysym.sym = key;
  event.key.keysym.mod = modifiers;
  return event;
}

SDL_Event KeyUp(SDL_Keycode key) {
  SDL_Event event = KeyDown(key);
  event.type = SDL_KEYUP;
  event.key.state = SDL_RELEASED;
  return event;
}

SDL_Event Text(const char* utf8) {
  SDL_Event event{};
  event.type = SDL_TEXTINPUT;
  std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
  return event;
}

struct TranslationCase {
  const char* name;
  SDL_Event event;
  int count;  // 0: nothing queued, 1: one byte, 2: 0 then the code
  unsigned char code;
};

class KeyTranslationTest : public testing::TestWithParam<TranslationCase> {};

TEST_P(KeyTranslationTest, QueuesTheExpectedBytes) {
  const TranslationCase& expected = GetParam();
  const gfx::KeyBytes bytes = gfx::TranslateKeyEvent(expected.event);
  ASSERT_EQ(bytes.count, expected.count);
  if (expected.count == 0) return;
  EXPECT_EQ(bytes.extended, expected.count == 2);
  EXPECT_EQ(bytes.code, expected.code);
}

const TranslationCase kCases[] = {
    // Characters come from text input, with Shift and the layout applied.
    {"LowerCaseLetter", Text("a"), 1, 'a'},
    {"CapitalLetter", Text("A"), 1, 'A'},
    {"Digit", Text("7"), 1, '7'},
    {"ShiftedPunctuation", Text("!"), 1, '!'},
    {"SpaceText", Text(" "), 1, 32},
    {"Latin1Letter", Text("\xC3\xA9"), 1, 0xE9},
    {"Latin1LastCharacter", Text("\xC3\xBF"), 1, 0xFF},
    {"BeyondLatin1", Text("\xE2\x82\xAC"), 0, 0},
    {"Latin1ControlRange", Text("\xC2\x85"), 0, 0},
    {"BrokenUtf8", Text("\xC3"), 0, 0},
    {"FirstOfSeveralCharacters", Text("xy"), 1, 'x'},
    // The key-down of a character key queues nothing: its text does.
    {"LetterKeyDown", KeyDown(SDLK_a), 0, 0},
    {"ShiftedLetterKeyDown", KeyDown(SDLK_a, KMOD_LSHIFT), 0, 0},
    {"SpaceKeyDown", KeyDown(SDLK_SPACE), 0, 0},
    // Control keys and Ctrl+letter.
    {"Return", KeyDown(SDLK_RETURN), 1, 13},
    {"KeypadEnter", KeyDown(SDLK_KP_ENTER), 1, 13},
    {"Escape", KeyDown(SDLK_ESCAPE), 1, 27},
    {"Backspace", KeyDown(SDLK_BACKSPACE), 1, 8},
    {"Tab", KeyDown(SDLK_TAB), 1, 9},
    {"CtrlA", KeyDown(SDLK_a, KMOD_LCTRL), 1, 1},
    {"CtrlZ", KeyDown(SDLK_z, KMOD_RCTRL), 1, 26},
    {"CtrlShiftC", KeyDown(SDLK_c, KMOD_LCTRL | KMOD_LSHIFT), 1, 3},
    {"CtrlAltLetterIsNotControl", KeyDown(SDLK_a, KMOD_LCTRL | KMOD_RALT), 0, 0},
    {"AutoRepeatRepeats", KeyDown(SDLK_RETURN, KMOD_NONE, 1), 1, 13},
    // Extended keys.
    {"Up", KeyDown(SDLK_UP), 2, 72},
    {"Down", KeyDown(SDLK_DOWN), 2, 80},
    {"Left", KeyDown(SDLK_LEFT), 2, 75},
    {"Right", KeyDown(SDLK_RIGHT), 2, 77},
    {"ShiftedArrowStaysArrow", KeyDown(SDLK_RIGHT, KMOD_LSHIFT), 2, 77},
    {"Home", KeyDown(SDLK_HOME), 2, 71},
    {"End", KeyDown(SDLK_END), 2, 79},
    {"PageUp", KeyDown(SDLK_PAGEUP), 2, 73},
    {"PageDown", KeyDown(SDLK_PAGEDOWN), 2, 81},
    {"Insert", KeyDown(SDLK_INSERT), 2, 82},
    {"Delete", KeyDown(SDLK_DELETE), 2, 83},
    {"F1", KeyDown(SDLK_F1), 2, 59},
    {"F5", KeyDown(SDLK_F5), 2, 63},
    {"F10", KeyDown(SDLK_F10), 2, 68},
    {"F11", KeyDown(SDLK_F11), 2, 133},
    {"F12", KeyDown(SDLK_F12), 2, 134},
    {"RepeatedArrow", KeyDown(SDLK_UP, KMOD_NONE, 1), 2, 72},
    // Keypad: cursor keys with Num Lock off, digits (as text) with it on.
    {"KeypadUpNumLockOff", KeyDown(SDLK_KP_8), 2, 72},
    {"KeypadDeleteNumLockOff", KeyDown(SDLK_KP_PERIOD), 2, 83},
    {"KeypadDigitNumLockOn", KeyDown(SDLK_KP_8, KMOD_NUM), 0, 0},
    // Modifiers alone, releases and other events queue nothing.
    {"ShiftAlone", KeyDown(SDLK_LSHIFT, KMOD_LSHIFT), 0, 0},
    {"CtrlAlone", KeyDown(SDLK_RCTRL, KMOD_RCTRL), 0, 0},
    {"AltAlone", KeyDown(SDLK_LALT, KMOD_LALT), 0, 0},
    {"ReturnReleased", KeyUp(SDLK_RETURN), 0, 0},
    {"ArrowReleased", KeyUp(SDLK_UP), 0, 0},
};

INSTANTIATE_TEST_SUITE_P(Keys, KeyTranslationTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<TranslationCase>& param) {
                           return std::string(param.param.name);
                         });

TEST(KeyTranslation, MouseEventQueuesNothing) {
  SDL_Event event{};
  event.type = SDL_MOUSEBUTTONDOWN;
  event.button.button = SDL_BUTTON_LEFT;
  EXPECT_EQ(gfx::TranslateKeyEvent(event).count, 0);
}

}  // namespace
