#pragma once
// The single instances of the show window and the web page window. Each is
// made on first use (its load step runs then), can be unloaded, and is made
// afresh at its next use. In a host window's show each is put into the host
// window when it is made.

#include <functional>
#include <memory>

namespace web {
class frmZORWeb;
}  // namespace web
class QWidget;

namespace show {

class frmCover;

frmCover& TheCover();
bool CoverLoaded();
// Runs the window's unload step (StopEntry), then destroys it.
void UnloadCover();

web::frmZORWeb& TheZORWeb();
bool ZORWebLoaded();
void UnloadZORWeb();

// How the windows are made (an empty function: with the program's own player
// and browser). Tests give fakes here.
void SetCoverMaker(std::function<std::unique_ptr<frmCover>()> make);
void SetZORWebMaker(std::function<std::unique_ptr<web::frmZORWeb>()> make);

// The remote control window, made on first use by the maker the program
// sets; the show only shows, hides and asks it whether it is visible. Null
// without a maker.
QWidget* TheControl();
// Null while it has not been made.
QWidget* LoadedControl();
void SetControlMaker(std::function<std::unique_ptr<QWidget>()> make);

}  // namespace show
