// Xlib + XTEST side of the real-window tests.

#include "x11_session.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

extern char** environ;

namespace x11 {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPollInterval = std::chrono::milliseconds(20);

Clock::time_point DeadlineAfter(double seconds) {
  return Clock::now() +
         std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

std::string EntryName(const std::string& entry) {
  return entry.substr(0, entry.find('='));
}

// The test's own environment with `changes` applied: "NAME=value" sets NAME,
// a bare "NAME" removes it.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& changes) {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string current = *entry;
    bool replaced = false;
    for (const std::string& change : changes) {
      replaced = replaced || EntryName(change) == EntryName(current);
    }
    if (!replaced) result.push_back(current);
  }
  for (const std::string& change : changes) {
    if (change.find('=') != std::string::npos) result.push_back(change);
  }
  return result;
}

// X errors (a window that vanished while it was looked at) are expected
// while other programs come and go; they must not end the test.
int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}

// 0..255 from the bits of `pixel` under `mask`.
int Channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const unsigned long value = (pixel & mask) >> shift;
  const unsigned long maximum = (1UL << bits) - 1;
  constexpr unsigned long kByteMax = 255;
  return static_cast<int>(value * kByteMax / maximum);
}

// Kills a program still running, reaps it, and closes its output.
void EndProcess(Process& process) {
  if (process.pid > 0) {
    kill(process.pid, SIGKILL);
    waitpid(process.pid, nullptr, 0);
    process.pid = -1;
  }
  if (process.outputFd >= 0) close(process.outputFd);
  process.outputFd = -1;
}

}  // namespace

Process::Process(Process&& other) noexcept
    : pid(std::exchange(other.pid, -1)), outputFd(std::exchange(other.outputFd, -1)) {}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    EndProcess(*this);
    pid = std::exchange(other.pid, -1);
    outputFd = std::exchange(other.outputFd, -1);
  }
  return *this;
}

Process::~Process() { EndProcess(*this); }

Process Start(const std::string& path, const std::vector<std::string>& env) {
  Process process;
  std::string outputPath = "/tmp/x11_session_XXXXXX";
  const int output = mkostemp(outputPath.data(), O_CLOEXEC);
  if (output < 0) return process;
  unlink(outputPath.c_str());
  process.outputFd = output;

  std::vector<std::string> environment = ChildEnvironment(env);
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::string program = path;
  char* argv[] = {program.data(), nullptr};

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output, STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, output);
  pid_t pid = -1;
  if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data()) == 0) {
    process.pid = pid;
  }
  posix_spawn_file_actions_destroy(&actions);
  return process;
}

int WaitExit(Process& process, double seconds) {
  if (process.pid < 0) return -1;
  const Clock::time_point deadline = DeadlineAfter(seconds);
  int status = 0;
  while (true) {
    const pid_t done = waitpid(process.pid, &status, WNOHANG);
    if (done == process.pid) break;
    if (done < 0) {
      process.pid = -1;
      return -1;
    }
    if (Clock::now() >= deadline) {
      kill(process.pid, SIGKILL);
      waitpid(process.pid, &status, 0);
      process.pid = -1;
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  process.pid = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadStderr(const Process& process) {
  std::string text;
  char buffer[4096];
  off_t offset = 0;
  ssize_t count = 0;
  while (process.outputFd >= 0 &&
         (count = pread(process.outputFd, buffer, sizeof buffer, offset)) > 0) {
    text.append(buffer, std::size_t(count));
    offset += count;
  }
  return text;
}

struct Session::Impl {
  Display* display = nullptr;
  Atom netWmName = None;
  Atom utf8String = None;
};

Session::Session() : impl_(new Impl) {
  XSetErrorHandler(IgnoreXError);
  impl_->display = XOpenDisplay(nullptr);
  if (impl_->display == nullptr) return;
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(impl_->display, &eventBase, &errorBase, &major, &minor)) {
    XCloseDisplay(impl_->display);
    impl_->display = nullptr;
    return;
  }
  impl_->netWmName = XInternAtom(impl_->display, "_NET_WM_NAME", False);
  impl_->utf8String = XInternAtom(impl_->display, "UTF8_STRING", False);
}

Session::~Session() {
  if (impl_->display != nullptr) XCloseDisplay(impl_->display);
  delete impl_;
}

bool Session::Ok() const {
  return impl_->display != nullptr;
}

namespace {

bool TitleIs(Display* display, Window window, Atom netWmName, Atom utf8String,
             const std::string& caption) {
  char* name = nullptr;
  if (XFetchName(display, window, &name) != 0 && name != nullptr) {
    const bool same = caption == name;
    XFree(name);
    if (same) return true;
  }
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  constexpr long kMaxTitleWords = 1024;
  if (XGetWindowProperty(display, window, netWmName, 0, kMaxTitleWords, False, utf8String, &type,
                         &format, &count, &remaining, &data) != Success) {
    return false;
  }
  const bool same = data != nullptr && type == utf8String &&
                    caption == std::string(reinterpret_cast<char*>(data), count);
  if (data != nullptr) XFree(data);
  return same;
}

bool Viewable(Display* display, Window window) {
  XWindowAttributes attributes;
  return XGetWindowAttributes(display, window, &attributes) != 0 &&
         attributes.map_state == IsViewable;
}

// False when the window names its process (_NET_WM_PID) and that process is
// gone: the server may still show the window of a program that just ended.
bool OwnerAlive(Display* display, Window window) {
  const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                         &remaining, &data) != Success ||
      data == nullptr) {
    return true;
  }
  long pid = 0;
  if (count == 1 && format == 32) std::memcpy(&pid, data, sizeof pid);
  XFree(data);
  return pid <= 0 || kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

Window SearchTree(Display* display, Window window, Atom netWmName, Atom utf8String,
                  const std::string& caption) {
  if (TitleIs(display, window, netWmName, utf8String, caption) && Viewable(display, window) &&
      OwnerAlive(display, window)) {
    return window;
  }
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) return 0;
  Window found = 0;
  for (unsigned int i = 0; i < count && found == 0; ++i) {
    found = SearchTree(display, children[i], netWmName, utf8String, caption);
  }
  if (children != nullptr) XFree(children);
  return found;
}

}  // namespace

unsigned long Session::FindWindow(const std::string& caption, double seconds) {
  if (!Ok()) return 0;
  const Clock::time_point deadline = DeadlineAfter(seconds);
  while (true) {
    XSync(impl_->display, False);
    const Window found = SearchTree(impl_->display, DefaultRootWindow(impl_->display),
                                    impl_->netWmName, impl_->utf8String, caption);
    if (found != 0 || Clock::now() >= deadline) return found;
    std::this_thread::sleep_for(kPollInterval);
  }
}

Image Session::Capture(unsigned long window) {
  Image image;
  if (!Ok()) return image;
  XWindowAttributes attributes;
  if (XGetWindowAttributes(impl_->display, window, &attributes) == 0) return image;
  XImage* pixels = XGetImage(impl_->display, window, 0, 0, attributes.width, attributes.height,
                             AllPlanes, ZPixmap);
  if (pixels == nullptr) return image;
  image.width = attributes.width;
  image.height = attributes.height;
  image.rgb.resize(static_cast<std::size_t>(image.width) * image.height);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const unsigned long pixel = XGetPixel(pixels, x, y);
      const int red = Channel(pixel, pixels->red_mask);
      const int green = Channel(pixel, pixels->green_mask);
      const int blue = Channel(pixel, pixels->blue_mask);
      image.rgb[static_cast<std::size_t>(y) * image.width + x] =
          (std::uint32_t(red) << 16) | (std::uint32_t(green) << 8) | std::uint32_t(blue);
    }
  }
  XDestroyImage(pixels);
  return image;
}

bool Session::WaitForPicture(unsigned long window, double seconds,
                             const std::function<bool(const Image&)>& ready) {
  const Clock::time_point deadline = DeadlineAfter(seconds);
  while (true) {
    const Image image = Capture(window);
    if (image.width > 0 && ready(image)) return true;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
}

void Session::Focus(unsigned long window) {
  if (!Ok()) return;
  // No window manager runs under Xvfb: raise and focus by hand.
  XRaiseWindow(impl_->display, window);
  XSetInputFocus(impl_->display, window, RevertToPointerRoot, CurrentTime);
  XSync(impl_->display, False);
}

void Session::PressKey(unsigned long keysym) {
  if (!Ok()) return;
  const KeyCode code = XKeysymToKeycode(impl_->display, keysym);
  if (code == 0) return;
  XTestFakeKeyEvent(impl_->display, code, True, CurrentTime);
  XSync(impl_->display, False);
}

void Session::ReleaseKey(unsigned long keysym) {
  if (!Ok()) return;
  const KeyCode code = XKeysymToKeycode(impl_->display, keysym);
  if (code == 0) return;
  XTestFakeKeyEvent(impl_->display, code, False, CurrentTime);
  XSync(impl_->display, False);
}

void Session::TapKey(unsigned long keysym, bool shift) {
  if (shift) PressKey(XK_Shift_L);
  PressKey(keysym);
  ReleaseKey(keysym);
  if (shift) ReleaseKey(XK_Shift_L);
}

void Session::MovePointer(unsigned long window, int x, int y) {
  if (!Ok()) return;
  int rootX = 0, rootY = 0;
  Window child = 0;
  XTranslateCoordinates(impl_->display, window, DefaultRootWindow(impl_->display), x, y, &rootX,
                        &rootY, &child);
  XTestFakeMotionEvent(impl_->display, DefaultScreen(impl_->display), rootX, rootY, CurrentTime);
  XSync(impl_->display, False);
}

void Session::Click(int button) {
  if (!Ok()) return;
  const auto xButton = static_cast<unsigned int>(button);
  XTestFakeButtonEvent(impl_->display, xButton, True, CurrentTime);
  XTestFakeButtonEvent(impl_->display, xButton, False, CurrentTime);
  XSync(impl_->display, False);
}

void Session::RequestClose(unsigned long window) {
  if (!Ok()) return;
  XEvent event;
  std::memset(&event, 0, sizeof event);
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(impl_->display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] =
      static_cast<long>(XInternAtom(impl_->display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(impl_->display, window, False, NoEventMask, &event);
  XSync(impl_->display, False);
}

void Session::Sync() {
  if (Ok()) XSync(impl_->display, False);
}

}  // namespace x11
