#pragma once
// The check made when user input asks to end the show.

// False when no password is in force: the caller then ends the show itself.
// True when the show is to go on.
bool PasswordExit();
