#pragma once

// Waits until the next whole second after now + seconds, keeping the user interface alive.
void WaitSeconds(int seconds);
