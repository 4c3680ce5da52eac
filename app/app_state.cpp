#include "app/app_state.h"

std::atomic<bool> QuitFlag{false};
std::atomic<WindowHandle> MainWindow{0};
