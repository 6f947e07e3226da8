#pragma once
// The program's start sequence, event loop and stop steps.
#include <memory>

#include "framework/ui/FileType.h"

namespace FileTypes {

// The declared document type "text" (type "TEXT", creator "R*ch"), held for
// the whole run. Declared only: nothing opens or saves such documents.
extern std::shared_ptr<fw::FileType> pText;

// Makes pText and registers it.
void _Initialize();

}  // namespace FileTypes

// The start sequence, then the event loop until the user quits, then the
// stop steps. An exception that leaves the start sequence or the loop goes
// to the framework's unhandled-exception reporting; the stop steps run all
// the same.
void _Main();

// The start steps, in the order _Main runs them.
// Gives the core the faces of the windows and the menu bar, before anything
// can reach a window.
void _RegisterViews();
void _InitFileTypes();
// Makes the application object with its menu bar and registers it.
void _NewAppInstance();
// Binds the menu items' names to App's handlers.
void _ApplicationAddMenuHandlers();
// Makes the main window, the default window.
void _MakeDefaultView();

// The stop steps: releases the cached pictures, the windows, the declared
// file type, the menu bar, the module properties and the application object.
void _ReleaseAll();
