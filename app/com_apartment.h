// Which COM apartment the calling thread is in. The window thread does not
// initialise COM: it sits in the implicit multithreaded apartment that the
// DirectShow player's poll thread keeps alive, so it may call the graph. A
// file dialog may put it into a single-threaded apartment while it is open.
#pragma once

namespace tarnuvo {

// True while the calling thread is in a single-threaded apartment. False in
// the multithreaded one (implicit or not), outside COM, and on systems that
// cannot tell.
bool inSingleThreadedApartment();

}  // namespace tarnuvo
