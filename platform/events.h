// The application's event loop.
#pragma once

// Runs Qt's event loop; headless runs return at once (the test driver
// dispatches from then on).
void RunApplicationEventLoop();
