// Real-window test support: starts a program, finds its window on the X
// server named by DISPLAY (Xvfb under ./test.sh), sends it input through the
// X server (XTEST) and reads its pixels back from the server.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace x11 {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> rgb;  // 0xRRGGBB, row by row
  std::uint32_t At(int x, int y) const { return rgb[y * width + x]; }
};

// A started program with its own output captured. A program still running
// when its Process goes away (a test that stopped early) is killed, so no
// test leaves a window behind for the next one.
struct Process {
  pid_t pid = -1;
  // An unlinked file that receives the program's stderr and stdout; it
  // vanishes when closed, so nothing is left behind.
  int outputFd = -1;

  Process() = default;
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  ~Process();
};

// Starts `path` with the given extra "NAME=value" environment entries; a bare
// "NAME" removes NAME from the program's environment.
Process Start(const std::string& path, const std::vector<std::string>& env = {});
// Waits up to `seconds` for the program to end; returns its exit status, or
// -1 on a time-out (the program is then killed) or death by a signal.
int WaitExit(Process& process, double seconds);
std::string ReadStderr(const Process& process);

// One connection to the X server.
class Session {
 public:
  Session();   // connects to DISPLAY; Ok() tells whether it worked
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  bool Ok() const;
  // The top-level window whose title is `caption`, mapped and viewable;
  // 0 when none appears within `seconds`.
  unsigned long FindWindow(const std::string& caption, double seconds);
  // The window's client area as the server shows it.
  Image Capture(unsigned long window);
  // Waits until `ready(Capture(window))` holds or `seconds` pass.
  bool WaitForPicture(unsigned long window, double seconds,
                      const std::function<bool(const Image&)>& ready);

  void Focus(unsigned long window);
  // Press and release of the key with this X keysym, optionally with Shift.
  void TapKey(unsigned long keysym, bool shift = false);
  void PressKey(unsigned long keysym);
  void ReleaseKey(unsigned long keysym);
  // Pointer to (x, y) of the window's client area.
  void MovePointer(unsigned long window, int x, int y);
  void Click(int button);
  // The window manager's close request (WM_DELETE_WINDOW).
  void RequestClose(unsigned long window);
  void Sync();

 private:
  struct Impl;
  Impl* impl_;
};

}  // namespace x11
