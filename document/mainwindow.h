// Document windows: building them, their window events, and the table sheet
// they show.
#pragma once

#include "platform/events.h"
#include "platform/window.h"

#include <cstdint>
#include <string>

class QWidget;

// Makes the hidden form window one of the program's windows, named
// windowName, and installs its handler (when given) with the window as user
// data (the handler's reference in *outHandler when asked for). Document
// windows, the table window and the auxiliary windows are all built so.
WindowRef BLoadWindowWithHandler(QWidget *form, const std::string &windowName,
                                 EventHandlerUPP handler = nullptr, int numTypes = 0,
                                 const EventTypeSpec *eventTypes = nullptr,
                                 EventHandlerRef *outHandler = nullptr);
WindowRef BInitMainWindow(EventHandlerUPP *eventHandlerUPP);
// Has the platform build the next document window ahead, hidden, while
// start-up waits anyway; BInitMainWindow then finds it ready.
void BPrepareMainWindow();
OSStatus BMainWindowEventHandler(EventHandlerCallRef handlerRef, EventRef event, void *userData);

// Draws the current document's sheet into its window: values when valid is 1,
// placeholders otherwise.
void BDrawDocsWindowData(std::int32_t valid);
// Draws the sheet of the document that owns window, by its record's flag.
void BDrawDocsWindowDataUpdate(WindowRef window);

// Draws the sheet of the document whose window is docsWindow into the current
// port (a printed page), laid out by the window's port rectangle; that
// document becomes the current one.
void BDrawDocsPrintData(const WindowRef docsWindow);

// Draws the sheet (without erasing the port first) into the current port,
// laid out in bounds; the printed page passes its own sixth aperture text.
struct tData;
void BDrawSheet(const Rect &bounds, tData *data, bool valid, const char *row6ApertureText);
// The sheet as printed, into the current port laid out in bounds: the
// values when the record's flag is exactly 1, the placeholders otherwise.
void BDrawPrintedSheet(const Rect &bounds, tData *data);
