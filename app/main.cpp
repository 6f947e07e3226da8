#include "app/Startup.h"
#include "framework/ui/FrameworkInit.h"

int main(int argc, char** argv) {
  fw::InitFramework(argc, argv);
  _Main();
  return fw::ShutdownFramework();
}
