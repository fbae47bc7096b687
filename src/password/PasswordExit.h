#pragma once
// The check made when user input asks to end the show.

namespace password {

// False when no password is in force: the caller then ends the show itself.
// True when the show is to go on.
bool PasswordExit();

// For the ways out that leave the ending to the show loop (the remote's and
// the page window's Quit Show, a drag with the right button): in a running
// show with a password in force, the password is asked for first. True when
// it was not given: the show goes on, the cursor hidden again as before the
// dialog. False when the caller may go on to end the show.
bool QuitRefused();

}  // namespace password
