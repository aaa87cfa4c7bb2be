#include "frontend/ConsoleIO.h"

int main() {
  ProgramEntry();
  return 0;
}
