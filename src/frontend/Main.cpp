#include "frontend/StartUp.h"

int main() {
  ProgramEntry();
  return 0;
}
