#include "velmiro_frame.h"

int main() {
  RunVelmiro();
  return 0;
}
