#pragma once

#include <functional>

class AppController;

// The whole program: the application object, Vexilo's look and texts, the controller, the event
// loop. `started`, when given, is called once the controller has started (the start-up
// benchmark watches the window through it).
int vexiloMain(int argc, char *argv[], const std::function<void(AppController &)> &started = {});
