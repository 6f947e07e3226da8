#pragma once
// Starting and stopping the framework around the program's start sequence.

namespace fw {

// Makes the framework ready: the event-loop object, the application's name
// "Breezeling" and its window icon (picture 177). Call once, first thing in
// main(); argc must outlive the framework.
void InitFramework(int& argc, char** argv);

// Takes the framework down again; the result is the process's exit status.
int ShutdownFramework();

}  // namespace fw
