#include "brontale_frame.h"

int main() {
  RunBrontale();
  return 0;
}
